// Carga dos livros de créditos e de retidos: junção das fontes, eventos, pagamentos,
// ressarcimentos declarados, guarda da SCP e a ligação com o contexto da execução.
#include <gtest/gtest.h>

#include <algorithm>

#include "blocom/control/nFisEFDControleBlocoM_U.h"
#include "credits/CreditosFixture.h"
#include "base/DateTime.h"
#include "base/Decimal.h"
#include "host/OpcaoEFD.h"
#include "host/Servicos.h"

namespace {
class CargaCreditos : public TCreditosTeste {
 protected:
  const TDadosRetido* Retido(TnFisEFDControleCredito& cc, const std::string& AData, const std::string& ATipo) {
    TDadosRetido r;
    r.IMPOSTO = 15;
    r.PRRECRET = ISOParaData(AData);
    r.INDNATRET = 1;
    r.TIPODEBITO = ATipo;
    return cc.GetLstCredRetido().Procurar(TnFisEFDControleCredito::GetChave(r));
  }
  void Declarado(int AEstab, int ASeq, const std::string& ARetencao, const std::string& ATipo, double ARest,
                 double AComp) {
    Linha("EFDSALDORETIDOCOMP").I("CODIGOEMPRESA", 1).I("CODIGOESTAB", AEstab).D("DATALCTOFIS", "2024-01-01")
        .I("SEQ", ASeq).I("IMPOSTO", 15).I("INDNATRET", 1).D("DATARETENCAO", ARetencao).T("TIPODEBITO", ATipo)
        .V("VLRETUTILREST", ARest).V("VLRETUTILCOMP", AComp).Gravar();
  }
};
}  // namespace

TEST_P(CargaCreditos, SaldoInicialEInstantaneoAnteriorViramUmaLinha) {
  Opcao();
  // O mesmo crédito no saldo inicial informado e no controle de dezembro.
  SaldoCred("EFDSALDOCOMPCREDINICIAL", "DATALCTOFIS", "2023-12-01", {.Apu = 1000, .DescPaAnt = 100, .DescEfd = 50}, 1, 0);
  SaldoCred("EFDSALDOCOMPCRED", "DATATOTAL", "2023-12-01", {.Apu = 400, .DescEfd = 30, .PerEfd = 20}, 1, -1, 350);
  // Linha zerada do controle anterior (sem saldo final) não entra.
  SaldoCred("EFDSALDOCOMPCRED", "DATATOTAL", "2023-12-01", {.CodCred = "4.3.06.201", .Apu = 1000}, 1, -1, 0);
  // Compensação declarada no período soma ao uso do período.
  SaldoCred("EFDSALDOCOMPCREDINICIAL", "DATALCTOFIS", "2024-01-01", {.DCompEfd = 70}, 1, 1);
  // Saldo inicial de outro estabelecimento: a carga sempre filtra o estabelecimento.
  SaldoCred("EFDSALDOCOMPCREDINICIAL", "DATALCTOFIS", "2023-12-01", {.Apu = 1000}, 2, 0);

  auto cc = Controle(TModoGeracao::mgEmpresa, "1");
  cc->CarregarCreditosPeriodo();
  ASSERT_EQ(cc->GetLstCredito().Count(), 1u);
  const TDadosCreditoObj& l = *cc->GetLstCredito().begin()->second;
  EXPECT_DOUBLE_EQ(l.VLCREDAPU, 1400);
  EXPECT_DOUBLE_EQ(l.VLCREDDESCPAANT, 100 + 50 + 30);  // tudo o que as origens usaram
  EXPECT_DOUBLE_EQ(l.VLCREDPERPAANT, 20);
  EXPECT_DOUBLE_EQ(l.VLCREDDESCEFD, 0);
  EXPECT_DOUBLE_EQ(l.VLCREDDCOMPEFD, 70);
  EXPECT_DOUBLE_EQ(l.SLDCREDFIM(), 1400 - 180 - 20 - 70);
  EXPECT_DOUBLE_EQ(l.DATATOTAL, ISOParaData("2023-12-01"));  // a primeira fonte cria a linha
  // Só a linha do controle anterior traz um M100 (vazio).
  ASSERT_EQ(l.LstRegM100_500.size(), 1u);
  EXPECT_DOUBLE_EQ(l.LstRegM100_500[0]->GetVL_CRED_DISP(), 0);
  // Recarregar reconstrói do banco em vez de somar de novo.
  cc->CarregarCreditosPeriodo();
  EXPECT_DOUBLE_EQ(cc->GetLstCredito().begin()->second->VLCREDAPU, 1400);
}

TEST_P(CargaCreditos, InstantaneoAnteriorPorModo) {
  Opcao();
  SaldoCred("EFDSALDOCOMPCRED", "DATATOTAL", "2023-12-01", {.Apu = 100}, 1, -1, 100);
  SaldoCred("EFDSALDOCOMPCREDESTAB", "DATATOTAL", "2023-12-01", {.Apu = 7}, 1, -1, 7);
  SaldoCred("EFDSALDOCOMPCREDESTAB", "DATATOTAL", "2023-12-01", {.Apu = 9}, 2, -1, 9);
  struct Caso {
    TModoGeracao Modo;
    std::string Estab;
    double Esperado;
  };
  for (const Caso& c : {Caso{TModoGeracao::mgEmpresa, "", 100}, Caso{TModoGeracao::mgFilial, "2", 9},
                        Caso{TModoGeracao::mgFilial, "1-2", 16}}) {
    SCOPED_TRACE("estab " + c.Estab);
    auto cc = Controle(c.Modo, c.Estab);
    cc->CarregarCreditosPeriodo();
    ASSERT_EQ(cc->GetLstCredito().Count(), 1u);
    EXPECT_DOUBLE_EQ(cc->GetLstCredito().begin()->second->VLCREDAPU, c.Esperado);
  }
}

TEST_P(CargaCreditos, EventosDeFusaoECisao) {
  Opcao();
  auto evento = [&](int estab, const std::string& data, const std::string& cnpj, double pis, double cofins) {
    Linha("EFDCREDITOEVENTOINCFUSCIS").I("CODIGOEMPRESA", 1).I("CODIGOESTAB", estab).D("DATALCTOFIS", data)
        .I("SEQ", ++FSeq).D("PERAPUCRED", "2023-10-01").T("CODIGOTABSPED", "4.3.06.101").T("INSCRFEDERAL", cnpj)
        .I("TIPOAPURACAO", 0).V("VALORCREDTRANSFPIS", pis).V("VALORCREDTRANSFCOFINS", cofins).Gravar();
  };
  evento(1, "2024-01-01", "11111111000111", 30, 140);  // uma linha de cada tributo
  evento(1, "2024-01-01", "22222222000122", 15, 0);    // só PIS
  evento(1, "2024-01-01", "33333333000133", -5, 0);    // nenhuma
  evento(1, "2024-02-01", "44444444000144", 99, 99);   // outro período
  evento(2, "2024-01-01", "55555555000155", 99, 99);   // outro estabelecimento
  auto cc = Controle(TModoGeracao::mgEmpresa, "1");
  cc->CarregarCreditosPeriodo();
  std::vector<std::string> linhas;
  for (const auto& [k, c] : cc->GetLstCredito())
    linhas.push_back(std::to_string(c->IMPOSTO) + " " + c->CNPJSUC + "=" + std::to_string(int(c->VLCREDAPU)));
  std::sort(linhas.begin(), linhas.end());  // a consulta não ordena
  EXPECT_EQ(linhas, (std::vector<std::string>{"15 11111111000111=30", "15 22222222000122=15", "16 11111111000111=140"}));
}

// O pago do documento se reparte pela base das linhas de PIS/COFINS; com uma linha só, vai todo.
TEST_P(CargaCreditos, PagamentoRepartidoPelaBaseDasLinhas) {
  Opcao();
  auto documento = [&](int chave, int estab, const std::vector<std::pair<std::string, double>>& linhas) {
    Linha("LCTOFISSAI").I("CODIGOEMPRESA", 1).I("CODIGOESTAB", estab).I("CHAVELCTOFISSAI", chave)
        .D("DATALCTOFIS", "2024-01-05").Gravar();
    Linha("LCTOFISSAIRETIDO").I("CODIGOEMPRESA", 1).I("CODIGOESTAB", estab).I("CHAVELCTOFISSAI", chave)
        .D("DATALCTOFIS", "2024-01-05").I("TIPORETENCAO", 3).Gravar();
    int seq = 0;
    for (const auto& [tipo, base] : linhas)
      Linha("LCTOFISSAIPISCOFINS").I("CODIGOEMPRESA", 1).I("CODIGOESTAB", 1).I("CHAVELCTOFISSAI", chave)
          .I("CODIGOPRODUTO", 1).I("SEQ", ++seq).D("DATALCTOFIS", "2024-01-05").T("TIPODEBITO", tipo)
          .V("BASECALCULOPISCOFINS", base).Gravar();
  };
  auto pagamento = [&](int chave, int estab, int tipo, const std::string& data, double valor) {
    Linha("LCTOFISSAIRETIDOPAGAMENTO").I("CODIGOEMPRESA", 1).I("CODIGOESTAB", estab).I("CHAVELCTOFISSAI", chave)
        .I("TIPOIMPOSTO", tipo).I("SEQ", ++FSeq).D("DATAPAGAMENTO", data).V("VALOR", valor).Gravar();
  };
  documento(10, 1, {{"4.3.05.01", 100}, {"4.3.05.02", 100}, {"4.3.05.51", 200}});
  pagamento(10, 1, 24, "2024-01-20", 40);
  pagamento(10, 1, 25, "2024-01-20", 80);
  pagamento(10, 1, 24, "2024-02-02", 999);  // fora do período
  documento(11, 2, {{"4.3.05.01", 50}});
  pagamento(11, 2, 24, "2024-01-21", 7);  // outro estabelecimento
  documento(12, 1, {{"4.3.05.01", 30}, {"4.3.05.51", 10}});  // duas linhas: o pago também se reparte
  pagamento(12, 1, 24, "2024-01-22", 8);

  for (const std::string estab : {"1", "1,2"}) {
    SCOPED_TRACE("estab " + estab);
    auto cc = Controle(TModoGeracao::mgFilial, estab);
    cc->CarregarRetidosPeriodo();
    std::vector<std::string> linhas;
    for (const auto& [k, r] : cc->GetLstCredRetido()) {
      linhas.push_back(std::to_string(r.IMPOSTO) + " " + FormatDateTime("dd", r.PRRECRET) + " " + r.TIPODEBITO + "=" +
                       Decimal::ArredondarTexto(r.VLRETAPU, 2));
      EXPECT_DOUBLE_EQ(r.DATATOTAL, ISOParaData("2024-01-01"));
    }
    std::vector<std::string> esperado{"15 20 4.3.05.01=10.00", "15 20 4.3.05.02=10.00", "15 20 4.3.05.51=20.00",
                                      "16 20 4.3.05.01=20.00", "16 20 4.3.05.02=20.00", "16 20 4.3.05.51=40.00",
                                      "15 22 4.3.05.01=6.00",  "15 22 4.3.05.51=2.00"};
    if (estab == "1,2") esperado.push_back("15 21 4.3.05.01=7.00");  // documento de uma linha: todo o pago
    std::sort(linhas.begin(), linhas.end());
    std::sort(esperado.begin(), esperado.end());
    EXPECT_EQ(linhas, esperado);
  }
}

TEST_P(CargaCreditos, RessarcimentosDeclaradosComESemLinhaDeRetido) {
  Opcao();
  SaldoRet("EFDSALDORETIDOINICIAL", "DATALCTOFIS", "2023-12-01", {.Apu = 100, .Diferido = 3});
  const TSaldoRet anterior{.PrRecRet = "2023-10-15", .TipoDebito = "4.3.05.01", .Apu = 50, .Ded = 10, .Diferido = 4,
                           .Diferir = 6};
  SaldoRet("EFDSALDORETIDO", "DATATOTAL", "2023-12-01", anterior);
  TSaldoRet usado = anterior;  // sem saldo: não entra
  usado.PrRecRet = "2023-09-15";
  usado.Ded = 50;
  SaldoRet("EFDSALDORETIDO", "DATATOTAL", "2023-12-01", usado);
  Declarado(1, 7, "2023-11-10", "4.3.05.51", 30, 20);
  Declarado(1, 8, "2023-11-11", "4.3.05.51", 1, 1);  // data que não existe no livro
  Declarado(1, 9, "2023-10-15", "4.3.05.52", 1, 1);  // tipo que não existe no livro
  auto cc = Controle();
  cc->CarregarRetidosPeriodo();
  ASSERT_EQ(cc->GetLstCredRetido().Count(), 2u);
  const TDadosRetido* ini = Retido(*cc, "2023-11-10", "4.3.05.51");
  ASSERT_NE(ini, nullptr);
  EXPECT_DOUBLE_EQ(ini->VLRETPER, 30);
  EXPECT_DOUBLE_EQ(ini->VLRETDCOMP, 20);
  EXPECT_DOUBLE_EQ(ini->SLDRET(), 50);
  ASSERT_NE(Retido(*cc, "2023-10-15", "4.3.05.01"), nullptr);
  EXPECT_DOUBLE_EQ(Retido(*cc, "2023-10-15", "4.3.05.01")->SLDRET(), 40);
  // Na ordem da consulta (data da retenção): a 9 é de outubro, a 8 de novembro.
  EXPECT_EQ(cc->MontarListaRetidoNaoEncontrado(), (std::vector<std::string>{"9", "8"}));
}

TEST_P(CargaCreditos, GuardaDaSCPComSaldoNaOstensiva) {
  // Último período com o saldo da SCP na ostensiva: dezembro cobre o mês anterior (nada do
  // controle anterior nem do declarado); novembro não cobre.
  SaldoCred("EFDSALDOCOMPCREDINICIAL", "DATALCTOFIS", "2023-12-01", {.Apu = 10}, 3, 0);
  SaldoCred("EFDSALDOCOMPCREDESTAB", "DATATOTAL", "2023-12-01", {.Apu = 5}, 3, -1, 5);
  SaldoRet("EFDSALDORETIDOINICIAL", "DATALCTOFIS", "2023-12-01", {.Apu = 10}, 3);
  SaldoRet("EFDSALDORETIDOESTAB", "DATATOTAL", "2023-12-01", {.PrRecRet = "2023-08-01", .Apu = 10}, 3);
  Declarado(3, 5, "2023-11-10", "4.3.05.51", 4, 0);
  for (const auto& [ultimo, carrega] : {std::pair{"'2023-12-01'", false}, std::pair{"'2023-11-01'", true}}) {
    SCOPED_TRACE(ultimo);
    Opcao(std::string("ULTPERSLDSCPOSTENSIVA=") + ultimo);
    auto cc = Controle(TModoGeracao::mgSCP, "3");
    cc->CarregarCreditosPeriodo();
    cc->CarregarRetidosPeriodo();
    ASSERT_EQ(cc->GetLstCredito().Count(), 1u);
    EXPECT_DOUBLE_EQ(cc->GetLstCredito().begin()->second->VLCREDAPU, carrega ? 15 : 10);
    EXPECT_EQ(cc->GetLstCredRetido().Count(), carrega ? 2u : 1u);
    ASSERT_NE(Retido(*cc, "2023-11-10", "4.3.05.51"), nullptr);
    EXPECT_DOUBLE_EQ(Retido(*cc, "2023-11-10", "4.3.05.51")->VLRETPER, carrega ? 4 : 0);
  }
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
