// Execuções completas do Bloco M (totais já apurados) sobre o banco de demonstração. Os valores
// de cada registro, empresa a empresa, estão nos cenários de tests/cenarios/blocom.
#include <gtest/gtest.h>

#include "blocom/control/nFisRepositorioEFDBlocoM_U.h"
#include "db/Demo.h"
#include "fixtures/Bancos.h"
#include "base/Nutil.h"

namespace {
class BlocoMEFD : public TBancoTeste {
 protected:
  void SetUp() override {
    TBancoTeste::SetUp();
    if (HasFatalFailure() || IsSkipped()) return;
    TConfigDemo demo;
    GerarBancoDemo(Banco(), demo);
  }

  TConfigBlocoM Config(TModoGeracao modo, const std::string& estab) {
    TConfigBlocoM c;
    c.CodigoEmpresa = 1;
    c.CodigoEstab = estab;
    c.CodigoEstabExtraApuracao = estab;
    CompetenciaParaPeriodo("2024-01", c.DataInicial, c.DataFinal);
    c.ModoGeracao = modo;
    return c;
  }
};

}  // namespace

PISCO_INSTANCIAR_BANCOS(BlocoMEFD);

// O que o validador oficial confere entre os registros, sobre a demonstração inteira.
TEST_P(BlocoMEFD, DemonstracaoConsistenteComOLeiaute) {
  for (int empresa : {1, 3}) {
    SCOPED_TRACE("empresa " + std::to_string(empresa));
    auto repo = TnFisRepositorioEFDBlocoMFabrica::CriarRepositorio(empresa, 1, EncodeDate(2024, 1, 1), false);
    TConfigBlocoM c = Config(TModoGeracao::mgEmpresa, "");
    c.CodigoEmpresa = empresa;
    auto mapa = repo->CarregarDadosBlocoM(c);
    for (const auto& [tipo, m001] : *mapa) {
      for (int imposto : {15, 16}) {
        const auto& creditos = imposto == 15 ? m001->FM100List : m001->FM500List;
        const auto& m200 = imposto == 15 ? *m001->FM200 : *m001->FM600;
        for (const auto& [k, m100] : creditos) {
          EXPECT_GE(Nutil::RoundValor(m100->GetSLD_CRED(), 2), 0.0) << "crédito " << m100->FCOD_CRED << " " << k;
          EXPECT_LE(Nutil::RoundValor(m100->FVL_CRED_DESC, 2), Nutil::RoundValor(m100->GetVL_CRED_DISP(), 2))
              << "crédito " << m100->FCOD_CRED;
        }
        double campo08 = 0, campo12 = 0;
        for (const auto& [k, m205] : m200.FM205_605List) (m205->NUM_CAMPO == "08" ? campo08 : campo12) += m205->VL_DEBITO;
        EXPECT_NEAR(campo08, std::max(0.0, Nutil::RoundValor(m200.GetVL_CONT_NC_REC(), 2)), 0.005) << imposto;
        EXPECT_NEAR(campo12, std::max(0.0, Nutil::RoundValor(m200.GetVL_CONT_CUM_REC(), 2)), 0.005) << imposto;
        EXPECT_GE(Nutil::RoundValor(m200.GetVL_TOT_CONT_NC_DEV(), 2), 0.0) << imposto;
      }
    }
  }
}
