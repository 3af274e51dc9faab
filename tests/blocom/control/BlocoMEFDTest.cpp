// Execuções completas do Bloco M (totais já apurados) sobre o banco de demonstração. Os valores
// de cada registro, empresa a empresa, estão nos cenários de tests/cenarios/blocom.
#include <gtest/gtest.h>

#include "blocom/control/nFisRepositorioEFDBlocoMFabrica_U.h"
#include "db/Demo.h"
#include "fixtures/Bancos.h"
#include "fixtures/ConsistenciaBlocoM.h"
#include "output/EscritorBlocoM.h"

namespace {
class BlocoMEFD : public TBancoTeste {
 protected:
  void SetUp() override {
    TBancoTeste::SetUp();
    if (HasFatalFailure() || IsSkipped()) return;
    GerarBancoDemo(Banco(), TConfigDemo{});
  }

  std::unique_ptr<TMapaAberturaBloco> Carregar(int AEmpresa, std::unique_ptr<TnFisRepositorioEFDBlocoM>& ARepo) {
    TConfigBlocoM c;
    c.CodigoEmpresa = AEmpresa;
    CompetenciaParaPeriodo("2024-01", c.DataInicial, c.DataFinal);
    ARepo = TnFisRepositorioEFDBlocoMFabrica::CriarRepositorio(AEmpresa, 1, c.DataInicial, false);
    return ARepo->CarregarDadosBlocoM(c);
  }
};

}  // namespace

PISCO_INSTANCIAR_BANCOS(BlocoMEFD);

// Contas do leiaute entre os registros de cada empresa; o total é do repositório: não muda nem deixa de
// existir quando o chamador libera o mapa que recebeu.
TEST_P(BlocoMEFD, DemonstracaoPassaNoLeiauteEOTotalEhDoRepositorio) {
  for (int empresa : {1, 3, 4}) {
    SCOPED_TRACE("empresa " + std::to_string(empresa));
    std::unique_ptr<TnFisRepositorioEFDBlocoM> repo;
    auto mapa = Carregar(empresa, repo);
    const auto linhas = MontarLinhasBlocoM(*repo->TotalizarBlocoM());
    ASSERT_GT(linhas.size(), 10u);
    for (const auto& e : consistencia::ConferirBlocoM(linhas)) ADD_FAILURE() << e;
    mapa.reset();
    EXPECT_EQ(MontarLinhasBlocoM(*repo->TotalizarBlocoM()), linhas);
  }
}

// Empresa 4 da demonstração: cooperativa só cumulativa com controle de diferimento, a única em
// que o M230 e o M300 saem dos totais já apurados.
TEST_P(BlocoMEFD, DiferimentoDaEmpresaCumulativaVemDosTotais) {
  std::unique_ptr<TnFisRepositorioEFDBlocoM> repo;
  auto mapa = Carregar(4, repo);
  ASSERT_EQ(mapa->count(TTipoApuracao::taEFD), 1u);
  for (int imposto : {15, 16}) {
    SCOPED_TRACE("imposto " + std::to_string(imposto));
    const auto& m001 = *mapa->at(TTipoApuracao::taEFD);
    const std::string onde = " WHERE CODIGOEMPRESA = 4 AND TIPOIMPOSTO = " + std::to_string(imposto);
    auto ant = Banco().Abrir("SELECT PERAPUR, VLCONTAPURDIFER FROM TOTALEFDDIFERIDOPERANT" + onde);
    auto inf = Banco().Abrir("SELECT COUNT(*), SUM(VLCONTDIF) FROM TOTALEFDINFADICDIFERIDO" + onde);
    ASSERT_FALSE(ant->Eof()) << "a demonstração deve ter diferido de período anterior";
    ASSERT_GT(inf->Fields(0).AsInteger(), 0) << "a demonstração deve ter venda a órgão público a receber";
    int m300 = 0, m230 = 0;
    double contDif = 0;
    for (const auto& [k, det] : (imposto == 15 ? *m001.FM200 : *m001.FM600).FM210_610List) {
      for (const auto& [k2, a] : det->FM300_700List) {
        ++m300;
        EXPECT_EQ(a->FPER_APUR, "122023");  // o período de origem copiado como texto
        EXPECT_NEAR(a->FVL_CONT_APUR_DIFER, ant->Fields(1).AsFloat(), 0.005);
      }
      for (const auto& [k2, a] : det->FM230_630List) ++m230, contDif += a->FVL_CONT_DIF;
    }
    EXPECT_EQ(m300, 1);
    EXPECT_EQ(m230, inf->Fields(0).AsInteger());
    EXPECT_NEAR(contDif, inf->Fields(1).AsFloat(), 0.005);
  }
}
