// Apuração extra pela API: ajuste repetido, ajuste sem receita, SCP do estabelecimento 1 e a
// receita da SCP no contexto (o rateio pela receita está no cenário do ajuste de base).
#include <gtest/gtest.h>


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
};

// O rateio pela receita está no cenário do ajuste de base; sem receita o ajuste fica sem detalhes.
TEST_P(ExtraApuracaoBanco, AjusteSemReceitaNaoTemDetalhes) {
  Ajuste(1, 1, 1000);
  auto x = Executar();
  ASSERT_EQ(x.FLstAjusteBC.Count(), 1u);
  EXPECT_TRUE(x.FLstAjusteBC.begin()->second->FLstAjusteBCDet.Vazia());
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
