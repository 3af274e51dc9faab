// Execuções completas do Bloco M (totais já apurados) sobre o banco de demonstração. Os valores
// de cada registro, empresa a empresa, estão nos cenários de tests/cenarios/blocom.
#include <gtest/gtest.h>

#include "blocom/control/nFisRepositorioEFDBlocoMFabrica_U.h"
#include "db/Demo.h"
#include "fixtures/Bancos.h"
#include "base/Nutil.h"
#include "output/EscritorBlocoM.h"

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

  // Consulta independente de um único valor sobre os totais já apurados.
  double Valor(const std::string& sql) {
    auto ds = Banco().Abrir(sql);
    return ds->Eof() || ds->Fields(0).IsNull() ? 0.0 : ds->Fields(0).AsFloat();
  }
};

}  // namespace

PISCO_INSTANCIAR_BANCOS(BlocoMEFD);

// O que o validador oficial confere entre os registros, sobre a demonstração inteira.
TEST_P(BlocoMEFD, DemonstracaoConsistenteComOLeiaute) {
  for (int empresa : {1, 3, 4}) {
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

// Empresa 4 da demonstração: cooperativa só cumulativa (incidência 2, regime 2) com controle de
// diferimento, a única em que o M230 e o M300 saem dos totais já apurados.
TEST_P(BlocoMEFD, DiferimentoDaEmpresaCumulativaCopiaOPeriodoDeOrigemComoTexto) {
  auto repo = TnFisRepositorioEFDBlocoMFabrica::CriarRepositorio(4, 1, EncodeDate(2024, 1, 1), false);
  TConfigBlocoM c = Config(TModoGeracao::mgEmpresa, "");
  c.CodigoEmpresa = 4;
  auto mapa = repo->CarregarDadosBlocoM(c);
  ASSERT_EQ(mapa->count(TTipoApuracao::taEFD), 1u);
  const auto& m001 = *mapa->at(TTipoApuracao::taEFD);
  for (int imposto : {15, 16}) {
    SCOPED_TRACE("imposto " + std::to_string(imposto));
    const auto& m200 = imposto == 15 ? *m001.FM200 : *m001.FM600;
    const std::string onde = " WHERE CODIGOEMPRESA = 4 AND TIPOIMPOSTO = " + std::to_string(imposto);
    auto ds = Banco().Abrir("SELECT PERAPUR, VLCONTAPURDIFER FROM TOTALEFDDIFERIDOPERANT" + onde);
    ASSERT_FALSE(ds->Eof()) << "a demonstração deve ter diferido de período anterior";
    const std::string periodo = ds->Fields(0).AsString();
    const double valor = ds->Fields(1).AsFloat();
    int m300 = 0, m230 = 0;
    double contDif = 0;
    for (const auto& [k, det] : m200.FM210_610List) {
      EXPECT_EQ(det->FCOD_CONT, "51");
      for (const auto& [k2, ant] : det->FM300_700List) {
        ++m300;
        EXPECT_EQ(ant->FPER_APUR, periodo);
        EXPECT_NEAR(ant->FVL_CONT_APUR_DIFER, valor, 0.005);
      }
      for (const auto& [k2, inf] : det->FM230_630List) {
        ++m230;
        contDif += inf->FVL_CONT_DIF;
      }
    }
    EXPECT_EQ(m300, 1);
    EXPECT_EQ(periodo, "122023");
    EXPECT_EQ(m230, Valor("SELECT COUNT(*) FROM TOTALEFDINFADICDIFERIDO" + onde));
    EXPECT_GT(m230, 0) << "a demonstração deve ter venda a órgão público a receber";
    EXPECT_NEAR(contDif, Valor("SELECT SUM(VLCONTDIF) FROM TOTALEFDINFADICDIFERIDO" + onde), 0.005);
  }
}

// O total é do repositório: não muda nem deixa de existir quando o chamador mexe no mapa que
// recebeu ou o libera.
TEST_P(BlocoMEFD, TotalIndependeDoMapaEntregueAoChamador) {
  auto repo = TnFisRepositorioEFDBlocoMFabrica::CriarRepositorio(1, 1, EncodeDate(2024, 1, 1), false);
  auto mapa = repo->CarregarDadosBlocoM(Config(TModoGeracao::mgEmpresa, ""));
  TM001AberturaBloco esperado;
  for (const auto& [tipo, m001] : *mapa) esperado.Totalizar(*m001);
  const auto linhas = MontarLinhasBlocoM(esperado);
  ASSERT_GT(linhas.size(), 10u);
  mapa->clear();
  EXPECT_EQ(MontarLinhasBlocoM(*repo->TotalizarBlocoM()), linhas);
  mapa.reset();
  EXPECT_EQ(MontarLinhasBlocoM(*repo->TotalizarBlocoM()), linhas);
}
