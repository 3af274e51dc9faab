// Carga dos livros de créditos e de retidos pela API: o que os cenários de carga não alcançam
// (faixas de filiais, recarga, declarados sem linha, contexto).
#include <gtest/gtest.h>

#include <algorithm>

#include "blocom/control/nFisEFDControleBlocoM_U.h"
#include "credits/CreditosFixture.h"
#include "base/DateTime.h"
#include "host/OpcaoEFD.h"
#include "host/Servicos.h"

namespace {
class CargaCreditos : public TCreditosTeste {};
}  // namespace

// Empresa, filial e SCP estão nos cenários; aqui o que a linha de comando não alcança: filial com
// uma faixa de estabelecimentos, recarga do mesmo controle e eventos de sucedidas diferentes.
TEST_P(CargaCreditos, FaixaDeFiliaisRecargaELinhaPorSucedida) {
  Opcao();
  SaldoCred("EFDSALDOCOMPCRED", "DATATOTAL", "2023-12-01", {.Apu = 100}, 1, -1, 100);
  SaldoCred("EFDSALDOCOMPCREDESTAB", "DATATOTAL", "2023-12-01", {.Apu = 7}, 1, -1, 7);
  SaldoCred("EFDSALDOCOMPCREDESTAB", "DATATOTAL", "2023-12-01", {.Apu = 9}, 2, -1, 9);
  // Evento negativo não vira linha.
  for (const auto& [cnpj, pis] :
       {std::pair{"11111111000111", 30}, std::pair{"22222222000122", 15}, std::pair{"33333333000133", -5}})
    Linha("EFDCREDITOEVENTOINCFUSCIS").I("CODIGOEMPRESA", 1).I("CODIGOESTAB", 1).D("DATALCTOFIS", "2024-01-01")
        .I("SEQ", ++FSeq).D("PERAPUCRED", "2023-10-01").T("CODIGOTABSPED", "4.3.06.101").T("INSCRFEDERAL", cnpj)
        .I("TIPOAPURACAO", 0).V("VALORCREDTRANSFPIS", pis).V("VALORCREDTRANSFCOFINS", 0).Gravar();
  auto cc = Controle(TModoGeracao::mgFilial, "1-2");
  cc->CarregarCreditosPeriodo();
  cc->CarregarCreditosPeriodo();  // recarregar reconstrói do banco em vez de somar de novo
  std::vector<std::string> linhas;
  for (const auto& [k, c] : cc->GetLstCredito()) linhas.push_back(c->CNPJSUC + "=" + std::to_string(int(c->VLCREDAPU)));
  std::sort(linhas.begin(), linhas.end());  // a consulta não ordena
  EXPECT_EQ(linhas, (std::vector<std::string>{"11111111000111=30", "22222222000122=15", "=16"}));
}

// Os declarados sem linha no livro (data ou débito que não existem) voltam na ordem da consulta,
// pela data da retenção: a 9 é de outubro, a 8 de novembro.
TEST_P(CargaCreditos, RessarcimentosDeclaradosSemLinhaDeRetido) {
  Opcao();
  SaldoRet("EFDSALDORETIDO", "DATATOTAL", "2023-12-01", {.PrRecRet = "2023-10-15", .TipoDebito = "4.3.05.01", .Apu = 50});
  for (const auto& [seq, data, tipo] : {std::tuple{7, "2023-10-15", "4.3.05.01"}, std::tuple{8, "2023-11-11", "4.3.05.01"},
                                        std::tuple{9, "2023-10-15", "4.3.05.52"}})
    Linha("EFDSALDORETIDOCOMP").I("CODIGOEMPRESA", 1).I("CODIGOESTAB", 1).D("DATALCTOFIS", "2024-01-01").I("SEQ", seq)
        .I("IMPOSTO", 15).I("INDNATRET", 1).D("DATARETENCAO", data).T("TIPODEBITO", tipo).V("VLRETUTILREST", 1)
        .V("VLRETUTILCOMP", 1).Gravar();
  auto cc = Controle();
  cc->CarregarRetidosPeriodo();
  EXPECT_DOUBLE_EQ(Procurar(*cc, Retido("2023-10-15", "4.3.05.01"))->SLDRET(), 48);
  EXPECT_EQ(cc->MontarListaRetidoNaoEncontrado(), (std::vector<std::string>{"9", "8"}));
}

TEST_P(CargaCreditos, ContextoCarregaSoParaOptanteEConformeOsCreditos) {
  SaldoCred("EFDSALDOCOMPCREDINICIAL", "DATALCTOFIS", "2023-12-01", {.Apu = 10}, 1, 0);
  SaldoRet("EFDSALDORETIDOINICIAL", "DATALCTOFIS", "2023-12-01", {.Apu = 10}, 1);
  struct Caso {
    bool Optante, Creditos;
    size_t NumCreditos, NumRetidos;
  };
  for (const Caso& c : {Caso{false, true, 0, 0}, Caso{true, false, 0, 1}, Caso{true, true, 1, 1}}) {
    SCOPED_TRACE(std::to_string(c.Optante) + std::to_string(c.Creditos));
    Banco().Executar("DELETE FROM OPCAOEFD");
    Host().Servicos().LimparCaches();
    if (c.Optante) Opcao();
    TMapaAberturaBloco mapa;
    TnFisEFDControleBlocoM ctx;
    ctx.FConfigBlocoM = Config(TModoGeracao::mgFilial, "1");
    ctx.FLstRegistroM001 = &mapa;
    ctx.FDeveProcessarCreditos = c.Creditos;
    ControleOpcaoEFD().Configurar(1, 1, ctx.FConfigBlocoM.DataInicial);
    ctx.CarregarControleCredito();
    EXPECT_EQ(ctx.GetControleCredito()->GetLstCredito().Count(), c.NumCreditos);
    EXPECT_EQ(ctx.GetControleCredito()->GetLstCredRetido().Count(), c.NumRetidos);
  }
}

TEST_P(CargaCreditos, InserirCreditoSomaEListaCadaRegistroUmaVez) {
  auto cc = Controle();
  auto r1 = RegistroCredito(100, 10);
  auto r2 = RegistroCredito(100, 10);
  cc->InserirCredito(Credito(15, "4.3.06.101", "2024-01-01", 1.65, 10, r1.get()));
  cc->InserirCredito(Credito(15, "4.3.06.101", "2024-01-01", 1.65, 20, r1.get()));
  cc->InserirCredito(Credito(15, "4.3.06.101", "2024-01-01", 1.65, 5, nullptr));
  cc->InserirCredito(Credito(15, "4.3.06.101", "2024-01-01", 1.65, 1, r2.get()));
  cc->InserirCredito(Credito(15, "4.3.06.101", "2024-01-01", 0.65, 1, nullptr));  // outra alíquota
  ASSERT_EQ(cc->GetLstCredito().Count(), 2u);
  const auto& l = *cc->GetLstCredito().begin()->second;
  EXPECT_DOUBLE_EQ(l.VLCREDAPU, 36);
  EXPECT_EQ(l.LstRegM100_500, (std::vector<TM100_500CreditoImposto*>{r1.get(), r2.get()}));
}

PISCO_INSTANCIAR_BANCOS(CargaCreditos);
