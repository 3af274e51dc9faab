// Apuração extra: receita por CST e por alíquota, rateio dos ajustes da base e a ligação com o
// contexto da execução.
#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

#include "blocom/control/nFisEFDControleBlocoM_U.h"
#include "extra/nFisEFDExtraApuracao_U.h"
#include "fixtures/Servicos.h"

namespace {

// A mesma chave de novo não cria outro ajuste nem muda os campos do primeiro; a parte por CST
// soma outra vez.
TEST(ExtraApuracao, AjusteRepetidoSomaSoAParteDoCST) {
  TnFisEFDExtraApuracao x;
  auto& a = x.GetExcBCPisCofins("1|4.3.05.01");
  a.FCST = 1, a.FTipoDebito = "4.3.05.01", a.FValorCST = 750, a.FPercentualCST = 100.0;
  TRecAjuste r;
  r.CodigoEmpresa = 1, r.CodigoEstab = 1, r.Sequencia = 1, r.ValorAjuste = 1000, r.CodigoAjuste = "4.3.18.01";
  x.GerarAjusteBC(r);
  r.ValorAjuste = 999;
  x.GerarAjusteBC(r);
  ASSERT_EQ(x.FLstAjusteBC.Count(), 1u);
  const TAjusteBC& aj = *x.FLstAjusteBC.begin()->second;
  EXPECT_DOUBLE_EQ(aj.FValorAjuste, 1000);
  EXPECT_DOUBLE_EQ(aj.FLstAjusteBCDet.Procurar("4.3.05.01|1")->get()->FValorAjusteCST, 2000);
}

class ExtraApuracaoBanco : public TServicosTeste {
 protected:
  void SetUp() override {
    TServicosTeste::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    Estab(1, 1, false);
    Estab(1, 2, false);
    OpcaoEFD(1, 1, "2023-01-01", 2, "INCIDENCIACST=1");
  }
  void Receita(int AEstab, int AChave, int ACST, const std::string& ATipo, double AAliqPis, double AAliqCofins,
               double AReceita) {
    Saida(1, AEstab, AChave, 1, "2024-01-10", 5102, ACST, ATipo, AReceita, AAliqPis, AAliqCofins);
  }
  void Ajuste(int AEstab, int ASeq, double AValor, int AIndApropriacao = 1) {
    Banco().Executar(
        "INSERT INTO EFDAJUSTEBASECALCCONTRIBAPUR (CODIGOEMPRESA, CODIGOESTAB, SEQ, DATALCTOFIS, INDAJUSTE, "
        "CODIGOAJUSTE, VALORAJUSTE, INDAPROPRIACAOAJUSTE, NUMPROCREF, DESCRAJUSTE, CONTACTB) "
        "VALUES (1, :S, :Q, '2024-01-28', 0, '4.3.18.01', :V, :I, 'PROC', 'EXCLUSÃO', 31101001)",
        {TVariant(int64_t{AEstab}), TVariant(int64_t{ASeq}), TVariant(AValor), TVariant(int64_t{AIndApropriacao})});
  }
  TnFisEFDExtraApuracao Executar(const std::string& AEstab = "", TModoGeracao AModo = TModoGeracao::mgEmpresa,
                                 const std::string& AEstabExtra = "") {
    TnFisEFDExtraApuracao x;
    x.FCodigoEmpresa = 1;
    x.FCodigoEstab = AEstab;
    x.FCodigoEstabExtraApuracao = AEstabExtra;
    x.FDataInicial = D("2024-01-01");
    x.FDataFinal = D("2024-01-31");
    x.FModoGeracao = AModo;
    x.ExecutarExtraApuracao();
    return x;
  }
  // A consulta dos ajustes não tem ordem: acha pelo estabelecimento.
  static const TAjusteBC& DoEstab(const TnFisEFDExtraApuracao& x, int AEstab) {
    for (const auto& [k, a] : x.FLstAjusteBC)
      if (a->FCodigoEstab == AEstab) return *a;
    throw std::runtime_error("sem ajuste do estabelecimento " + std::to_string(AEstab));
  }
  static double SomaDet(const TAjusteBC& a) {
    double s = 0;
    for (const auto& [k, d] : a.FLstAjusteBCDet) s += d->FValorAjusteCST;
    return s;
  }
  static double SomaAliq(const TAjusteBC& a, int AImposto) {
    double s = 0;
    for (const auto& [k, d] : a.FLstAjusteBCDetAliq)
      if (d->FTipoImposto == AImposto) s += d->FValorAjuste;
    return s;
  }
};

TEST_P(ExtraApuracaoBanco, Receita600e400DaPercentuais60e40ETotal1000) {
  Receita(1, 1, 1, "4.3.05.01", 1.65, 7.6, 500);
  Receita(1, 2, 1, "4.3.05.01", 0.65, 3.0, 100);  // mesmo CST e tipo, outra alíquota
  Receita(1, 3, 6, "4.3.05.01", 0, 0, 400);
  auto x = Executar();
  ASSERT_EQ(x.FLstExcBCPisCofins.Count(), 2u);
  EXPECT_DOUBLE_EQ(x.FLstExcBCPisCofins.Procurar("1|4.3.05.01")->get()->FValorCST, 600);
  EXPECT_DOUBLE_EQ(VarToFloat(x.FLstExcBCPisCofins.Procurar("1|4.3.05.01")->get()->FPercentualCST), 60);
  EXPECT_DOUBLE_EQ(VarToFloat(x.FLstExcBCPisCofins.Procurar("6|4.3.05.01")->get()->FPercentualCST), 40);
  // Por alíquota: cada linha conta uma vez em cada tributo, na alíquota do tributo.
  ASSERT_EQ(x.FLstBCPisCofinsAliq.Count(), 6u);
  const auto* pis = x.FLstBCPisCofinsAliq.Procurar("15|4.3.05.01|1.65");
  const auto* cof = x.FLstBCPisCofinsAliq.Procurar("16|4.3.05.01|7.6");
  ASSERT_TRUE(pis && cof);
  EXPECT_DOUBLE_EQ((*pis)->FReceita, 500);
  EXPECT_DOUBLE_EQ((*cof)->FReceita, 500);
  EXPECT_DOUBLE_EQ((*cof)->FAliq, 7.6);
  for (const auto& [k, e] : x.FLstBCPisCofinsAliq) EXPECT_DOUBLE_EQ(e->FReceitaTotal, 1000) << k;
}

TEST_P(ExtraApuracaoBanco, AjusteRateadoPorCSTEPorAliquotaSomaOAjuste) {
  Receita(1, 1, 1, "4.3.05.01", 1.65, 7.6, 600);
  Receita(1, 2, 1, "4.3.05.01", 0.65, 3.0, 150);
  Receita(2, 3, 2, "4.3.05.02", 2.1, 9.65, 250);
  Ajuste(1, 1, 1234.56);
  Ajuste(2, 1, 80, 2);
  auto x = Executar();
  ASSERT_EQ(x.FLstAjusteBC.Count(), 2u);
  const TAjusteBC& a = DoEstab(x, 1);
  EXPECT_EQ(a.FCNPJ, "");  // ESTAB do teste sem inscrição
  EXPECT_EQ(a.FContaContabil, 31101001);
  EXPECT_EQ(a.FNumeroDocumento, "PROC");
  ASSERT_EQ(a.FLstAjusteBCDet.Count(), 2u);
  EXPECT_DOUBLE_EQ(a.FLstAjusteBCDet.Procurar("4.3.05.01|1")->get()->FValorAjusteCST, 925.92);
  EXPECT_DOUBLE_EQ(a.FLstAjusteBCDet.Procurar("4.3.05.02|2")->get()->FValorAjusteCST, 308.64);
  ASSERT_EQ(a.FLstAjusteBCDetAliq.Count(), 6u);
  EXPECT_DOUBLE_EQ(a.FLstAjusteBCDetAliq.Procurar("15|4.3.05.01|1.65")->get()->FValorAjuste, 740.74);
  EXPECT_DOUBLE_EQ(a.FLstAjusteBCDetAliq.Procurar("15|4.3.05.01|0.65")->get()->FValorAjuste, 185.18);
  EXPECT_DOUBLE_EQ(a.FLstAjusteBCDetAliq.Procurar("16|4.3.05.02|9.65")->get()->FValorAjuste, 308.64);
  // As partes somam o ajuste ao centavo: por CST e, em cada tributo, por alíquota.
  EXPECT_NEAR(SomaDet(a), 1234.56, 0.0001);
  EXPECT_NEAR(SomaAliq(a, 15), 1234.56, 0.0001);
  EXPECT_NEAR(SomaAliq(a, 16), 1234.56, 0.0001);
  const TAjusteBC& b = DoEstab(x, 2);
  EXPECT_EQ(b.FIndicadorApropriacao, iaPis);
  EXPECT_NEAR(SomaDet(b), 80, 0.0001);
}

TEST_P(ExtraApuracaoBanco, TercosArredondadosSemMoverORestoEAjusteSemReceita) {
  Ajuste(1, 1, 1000);
  auto vazio = Executar();  // sem receita: ajuste sem detalhes
  ASSERT_EQ(vazio.FLstAjusteBC.Count(), 1u);
  EXPECT_TRUE(vazio.FLstAjusteBC.begin()->second->FLstAjusteBCDet.Vazia());
  Receita(1, 1, 1, "4.3.05.01", 1.65, 7.6, 100);
  Receita(1, 2, 2, "4.3.05.02", 2.1, 9.65, 100);
  Receita(1, 3, 3, "4.3.05.03", 0.8, 3.7, 100);
  auto x = Executar();
  const TAjusteBC& a = *x.FLstAjusteBC.begin()->second;
  for (const auto& [k, d] : a.FLstAjusteBCDet) EXPECT_DOUBLE_EQ(d->FValorAjusteCST, 333.33) << k;
  // Cada fatia é arredondada e o resto não é movido: 999,99, meio centavo por fatia no máximo.
  EXPECT_NEAR(SomaDet(a), 999.99, 0.0001);
  EXPECT_LE(std::fabs(SomaDet(a) - 1000), 0.005 * static_cast<double>(a.FLstAjusteBCDet.Count()));
}

TEST_P(ExtraApuracaoBanco, SCPComEstabelecimento1NaoCalculaProporcao) {
  Receita(1, 1, 1, "4.3.05.01", 1.65, 7.6, 100);
  Receita(2, 2, 1, "4.3.05.01", 1.65, 7.6, 300);
  Ajuste(1, 1, 100);
  Ajuste(2, 1, 100);
  auto scp1 = Executar("1", TModoGeracao::mgSCP, "1");
  EXPECT_TRUE(scp1.FLstExcBCPisCofins.Vazia());
  for (const auto& [k, a] : scp1.FLstAjusteBC) EXPECT_TRUE(a->FLstAjusteBCDet.Vazia());
  EXPECT_EQ(scp1.FLstAjusteBC.Count(), 1u);  // os ajustes do estabelecimento 1 ainda são lidos
  auto scp2 = Executar("2", TModoGeracao::mgSCP, "2");
  EXPECT_DOUBLE_EQ(scp2.FLstExcBCPisCofins.begin()->second->FValorCST, 300);
  EXPECT_EQ(scp2.FLstAjusteBC.Count(), 1u);
  auto filial = Executar("1", TModoGeracao::mgFilial, "1");  // "1" só pula no modo SCP
  EXPECT_DOUBLE_EQ(filial.FLstExcBCPisCofins.begin()->second->FValorCST, 100);
  auto todos = Executar("", TModoGeracao::mgEmpresa, "");
  EXPECT_DOUBLE_EQ(todos.FLstExcBCPisCofins.begin()->second->FValorCST, 400);
  EXPECT_EQ(todos.FLstAjusteBC.Count(), 2u);
}

// Na execução de uma SCP o contexto rateia pela receita da própria SCP, não pela pedida.
TEST_P(ExtraApuracaoBanco, ContextoDaSCPRateiaPelaReceitaDaSCP) {
  Receita(1, 1, 1, "4.3.05.01", 1.65, 7.6, 100);
  Receita(2, 2, 1, "4.3.05.01", 1.65, 7.6, 300);
  TnFisEFDControleBlocoM ctx;
  ctx.FConfigBlocoM.CodigoEmpresa = 1;
  CompetenciaParaPeriodo("2024-01", ctx.FConfigBlocoM.DataInicial, ctx.FConfigBlocoM.DataFinal);
  ctx.FConfigBlocoM.ModoGeracao = TModoGeracao::mgSCP;
  ctx.FConfigBlocoM.CodigoEstab = "2";
  ctx.FConfigBlocoM.CodigoEstabExtraApuracao = "1";
  ctx.CarregarExtraApuracao();
  ASSERT_EQ(ctx.GetExtraApuracao()->FLstExcBCPisCofins.Count(), 1u);
  EXPECT_DOUBLE_EQ(ctx.GetExtraApuracao()->FLstExcBCPisCofins.begin()->second->FValorCST, 300);
}

PISCO_INSTANCIAR_BANCOS(ExtraApuracaoBanco);

}  // namespace
