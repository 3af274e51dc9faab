// Contribuição calculada a partir dos lançamentos no que os cenários lancamentos-*.cenario não
// mostram: o arredondamento do M205 e o diferimento entregue ao controle de retidos.
#include <fmt/format.h>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <set>

#include "blocom/generators/nFisEFDGeradorBlocoM200M600Lcto_U.h"
#include "credits/CreditosFixture.h"
#include "host/LctoFisTmp.h"
#include "host/Servicos.h"

namespace {
class ContribLcto : public TCreditosTeste {
 protected:
  void SetUp() override {
    TCreditosTeste::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    Estab(1, 3, true);
    Linha("PRODUTO").I("CODIGOEMPRESA", 1).I("CODIGOPRODUTO", 1).I("DACONTIPORECEITA", 0).Gravar();
  }

  // Linha de saída com os mesmos CST, tipo de débito e alíquotas nos dois tributos.
  void Saida(int AChave, const std::string& AData, const std::string& ATipo, double AReceita, double AAliqPis = 1.65,
             double AAliqCofins = 7.6) {
    Linha("LCTOFISSAI").I("CODIGOEMPRESA", 1).I("CODIGOESTAB", 1).I("CHAVELCTOFISSAI", AChave).D("DATALCTOFIS", AData)
        .Gravar();
    Linha("LCTOFISSAIPISCOFINS").I("CODIGOEMPRESA", 1).I("CODIGOESTAB", 1).I("CHAVELCTOFISSAI", AChave)
        .I("CODIGOPRODUTO", 1).I("SEQ", 1).D("DATALCTOFIS", AData).I("CODIGOCFOP", 5102).I("CDSITUATRIBUTPIS", 1)
        .I("CDSITUATRIBUTCOFINS", 1).V("ALIQPIS", AAliqPis).V("ALIQCOFINS", AAliqCofins).V("QUANTIDADE", 0)
        .V("RECEITAPISCOFINS", AReceita).V("BASECALCULOPISCOFINS", AReceita)
        .V("VALORPIS", std::round(AReceita * AAliqPis) / 100).V("VALORCOFINS", std::round(AReceita * AAliqCofins) / 100)
        .T("TIPODEBITOPIS", ATipo).T("TIPODEBITO", ATipo).Gravar();
  }

  // Roda a árvore do M200/M600; APreparar recebe o contexto já carregado.
  TM200_600ConsolidContribImposto& Rodar(int16_t AImposto, TModoGeracao AModo = TModoGeracao::mgEmpresa,
                                         const std::string& AEstab = "",
                                         const std::function<void(TnFisEFDControleBlocoM&)>& APreparar = {}) {
    FMapa = std::make_unique<TMapaAberturaBloco>();
    FControle = std::make_unique<TnFisEFDControleBlocoM>();
    FControle->FConfigBlocoM = Config(AModo, AEstab);
    FControle->FLstRegistroM001 = FMapa.get();
    FControle->FDeveProcessarCreditos = ControleOpcaoEFD().GetEhOptanteEFD();
    ControleOpcaoEFD().Configurar(1, EstabComoInteiro(AEstab), FControle->FConfigBlocoM.DataInicial);
    FControle->CarregarUtilitarios();
    if (APreparar) APreparar(*FControle);
    TnGuardaTempDevolucao temp(1, AEstab, FControle->FConfigBlocoM.DataInicial, FControle->FConfigBlocoM.DataFinal,
                               false);
    TnFisEFDGeradorBlocoM::Criar<TnFisEFDGeradorM200_M600LctoEFD>(*FControle, AImposto)->ProcessarRegistro();
    temp.Liberar();
    auto& m001 = FControle->GetRegistroM001(TTipoApuracao::taNormal);
    return AImposto == 15 ? *m001.FM200 : *m001.FM600;
  }

  static std::set<std::string> Recolher(const TM200_600ConsolidContribImposto& AReg) {
    std::set<std::string> r;
    for (const auto& [k, m205] : AReg.FM205_605List) r.insert(k + "|" + fmt::format("{:.2f}", m205->VL_DEBITO));
    return r;
  }

  std::unique_ptr<TMapaAberturaBloco> FMapa;
  std::unique_ptr<TnFisEFDControleBlocoM> FControle;
};
}  // namespace

PISCO_INSTANCIAR_BANCOS(ContribLcto);

// O M205/M605 sai do M200/M600 já compensado: campo por incidência, valor arredondado a duas
// casas antes de decidir se há registro, e código de receita pelo modo (SCP: variação 8).
TEST_P(ContribLcto, RecolhimentoPorIncidenciaEModo) {
  Saida(1, "2024-01-10", "4.3.05.01", 1000);           // não cumulativa
  Saida(2, "2024-01-10", "4.3.05.51", 1000, 0.65, 3);  // cumulativa
  struct Caso {
    int Incidencia;
    TModoGeracao Modo;
    int16_t Imposto;
    double DeducaoCum;
    std::set<std::string> Esperado;
  };
  const auto empresa = TModoGeracao::mgEmpresa, scp = TModoGeracao::mgSCP;
  // Incidência 3 e a SCP (variação 08): lancamentos-scp-incidencia-mista.cenario.
  const std::vector<Caso> casos{
      {1, empresa, 15, 0, {"08|691201|16.50"}},
      {2, empresa, 16, 0, {"12|217201|30.00"}},
      {2, empresa, 15, 6.496, {}},  // sobra 0,004: nenhum M205
      {2, empresa, 15, 6.494, {"12|810901|0.01"}},
      {2, scp, 15, 6.494, {"12|810908|0.01"}},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE("incidência " + std::to_string(c.Incidencia) + " imposto " + std::to_string(c.Imposto) + " dedução " +
                 std::to_string(c.DeducaoCum));
    Banco().Executar("DELETE FROM OPCAOEFD");
    Banco().Executar("DELETE FROM OPCAOEFDCOMPL");
    Opcao("INCTRIBUTARIA=" + std::to_string(c.Incidencia) + "|ORDEMCOMPENSACAO='3'");
    const std::string estab = c.Modo == scp ? "1" : "";
    // A dedução cumulativa entra crua (sem as duas casas da consulta) pelo gerador do M205.
    auto& m200 = Rodar(c.Imposto, c.Modo, estab, [&](TnFisEFDControleBlocoM& ctx) {
      auto& m001 = ctx.GetRegistroM001(TTipoApuracao::taNormal);
      (c.Imposto == 15 ? *m001.FM200 : *m001.FM600).FVL_OUT_DED_CUM = c.DeducaoCum;
    });
    EXPECT_EQ(Recolher(m200), c.Esperado);
  }
}

// O diferido do mês e o recebido de período anterior vão ao controle de retidos, que os leva ao
// mês seguinte; o bloco não os mostra (os registros: lancamentos-diferimento-orgao-publico.cenario).
TEST_P(ContribLcto, DiferimentoVaiAoControleDeRetidos) {
  Opcao("INCTRIBUTARIA=2|CONTROLADIFERIMENTO=1|ORDEMCOMPENSACAO='3'");
  Linha("PESSOA").I("CODIGOPESSOA", 7).T("INSCRFEDERAL", "11111111000111").I("ORGAOPUBLICO", 1).Gravar();
  // Janeiro: metade de 1000 recebida (falta 500, PIS 3,25); dezembro: 10,00 recebidos em janeiro.
  for (auto [k, data, base, valor] : {std::tuple{1, "2024-01-10", 500.0, 3.25}, {2, "2023-12-05", 1000.0, 10.0}}) {
    Saida(k, data, "4.3.05.51", 1000, 0.65, 3);
    Linha("LCTOFISSAIRETIDO").I("CODIGOEMPRESA", 1).I("CODIGOESTAB", 1).I("CHAVELCTOFISSAI", k).D("DATALCTOFIS", data)
        .I("TIPORETENCAO", 1).Gravar();
    Linha("DUPLICATASAI").I("CODIGOEMPRESA", 1).I("CODIGOESTAB", 1).I("CHAVEDUPLICATASAI", k).I("CHAVELCTOFISSAI", k)
        .D("DATAEMISSAO", data).Gravar();
    Linha("LCTOFISSAIRETIDOPAGAMENTO").I("CODIGOEMPRESA", 1).I("CODIGOESTAB", 1).I("CHAVELCTOFISSAI", k)
        .I("TIPOIMPOSTO", 24).I("SEQ", 1).D("DATAPAGAMENTO", "2024-01-20").V("BASECALCULO", base).V("VALOR", valor)
        .Gravar();
  }
  Banco().Executar("UPDATE LCTOFISSAI SET CODIGOPESSOA = 7");
  Rodar(15);
  double diferir = 0, diferido = 0;
  for (const auto& [k, r] : FControle->GetControleCredito()->GetLstCredRetido()) {
    diferir += r.VLDIFERIRAPU;
    diferido += r.VLDIFERIDOAPU;
  }
  EXPECT_NEAR(diferir, 3.25, 1e-9);
  EXPECT_NEAR(diferido, 10, 1e-9);
}
