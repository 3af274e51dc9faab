// Execuções completas do Bloco M (totais já apurados) sobre o banco de demonstração.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "blocom/control/nFisRepositorioEFDBlocoM_U.h"
#include "db/Demo.h"
#include "fixtures/Bancos.h"
#include "base/Erros.h"
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

  // Condição dos totais de um modo: tabela sem sufixo na empresa, ...ESTAB por estabelecimento.
  static std::string Tabela(const std::string& base, const std::string& estab) {
    return estab.empty() ? base : base + "ESTAB";
  }
  static std::string Onde(const std::string& estab, int imposto) {
    std::string w = " WHERE CODIGOEMPRESA = 1 AND DATATOTAL BETWEEN '2024-01-01' AND '2024-01-31' AND TIPOIMPOSTO = " +
                    std::to_string(imposto);
    if (!estab.empty()) w += " AND CODIGOESTAB = " + estab;
    return w;
  }
};

double Soma(const TM100_500CreditoImpostoList& l, double (*f)(const TM100_500CreditoImposto&)) {
  double s = 0;
  for (const auto& [k, r] : l) s += f(*r);
  return s;
}
}  // namespace

TEST_P(BlocoMEFD, RegistrosTrazemOsTotaisJaApuradosNosTresModos) {
  struct Caso {
    TModoGeracao Modo;
    std::string Estab;       // texto do estabelecimento na configuração
    std::string EstabTotal;  // filtro dos totais (vazio = tabela da empresa)
  };
  for (const Caso& caso : {Caso{TModoGeracao::mgEmpresa, "", ""}, Caso{TModoGeracao::mgFilial, "2", "2"},
                           Caso{TModoGeracao::mgSCP, "3", "3"}}) {
    SCOPED_TRACE("estabelecimento '" + caso.Estab + "'");
    auto repo = TnFisRepositorioEFDBlocoMFabrica::CriarRepositorio(1, caso.Estab.empty() ? 1 : std::stoi(caso.Estab),
                                                                   EncodeDate(2024, 1, 1), false);
    auto mapa = repo->CarregarDadosBlocoM(Config(caso.Modo, caso.Estab));
    ASSERT_EQ(mapa->count(TTipoApuracao::taEFD), 1u);
    const auto& m001 = *mapa->at(TTipoApuracao::taEFD);
    for (int imposto : {15, 16}) {
      SCOPED_TRACE("imposto " + std::to_string(imposto));
      const auto& creditos = imposto == 15 ? m001.FM100List : m001.FM500List;
      const auto& m200 = imposto == 15 ? *m001.FM200 : *m001.FM600;
      const std::string e = caso.EstabTotal;
      EXPECT_EQ(creditos.Count(),
                Valor("SELECT COUNT(*) FROM " + Tabela("TOTALEFDCRED", e) + Onde(e, imposto)));
      EXPECT_NEAR(Soma(creditos, [](const TM100_500CreditoImposto& r) { return r.FVL_CRED_DESC; }),
                  Valor("SELECT SUM(VLCREDDESC) FROM " + Tabela("TOTALEFDCRED", e) + Onde(e, imposto)), 0.005);
      EXPECT_NEAR(Soma(creditos, [](const TM100_500CreditoImposto& r) { return r.GetVL_BC(); }),
                  Valor("SELECT SUM(VLBC) FROM " + Tabela("TOTALEFDCREDDET", e) + Onde(e, imposto) +
                        " AND CST NOT IN (50, 51, 60, 61, 62)") +
                      Valor("SELECT SUM(VLBCTOT - VLBCCUM) FROM " + Tabela("TOTALEFDCREDDET", e) + Onde(e, imposto) +
                            " AND CST IN (50, 51, 60, 61, 62)"),
                  0.005);
      EXPECT_NEAR(m200.FVL_RET_NC, Valor("SELECT VLRETNC FROM " + Tabela("TOTALEFD", e) + Onde(e, imposto)), 0.005);
      EXPECT_NEAR(m200.FVL_OUT_DED_NC, Valor("SELECT VLOUTDEDNC FROM " + Tabela("TOTALEFD", e) + Onde(e, imposto)),
                  0.005);
      EXPECT_EQ(m200.FM210_610List.Count(),
                Valor("SELECT COUNT(*) FROM " + Tabela("TOTALEFDDEBITO", e) + Onde(e, imposto)));
      double recBrt = 0;
      for (const auto& [k, d] : m200.FM210_610List) recBrt += d->FVL_REC_BRT;
      EXPECT_NEAR(recBrt, Valor("SELECT SUM(VLRRECBRT) FROM " + Tabela("TOTALEFDDEBITO", e) + Onde(e, imposto)), 0.005);
      // M205: copiados quando há débitos já apurados; senão calculados do próprio M200.
      double debitos = 0;
      for (const auto& [k, d] : m200.FM205_605List) debitos += d->VL_DEBITO;
      const double pagar = Valor("SELECT SUM(VLDEBITO) FROM " + Tabela("TOTALEFDDEBPAGAR", e) + Onde(e, imposto));
      EXPECT_NEAR(debitos, pagar != 0 ? pagar : std::max(0.0, m200.GetVL_CONT_NC_REC()) +
                                                   std::max(0.0, m200.GetVL_CONT_CUM_REC()),
                  0.005);
      const auto& isentas = imposto == 15 ? m001.FM400List : m001.FM800List;
      double rec = 0;
      for (const auto& [k, m400] : isentas) rec += m400->GetVL_TOT_REC();
      EXPECT_NEAR(rec, Valor("SELECT SUM(VLREC) FROM " + Tabela("TOTALEFDISENTAS", e) + Onde(e, imposto)), 0.005);
    }
    // Só a empresa inteira roda as SCP; a demonstração tem uma.
    EXPECT_EQ(repo->GetListaApuracaoSCP().size(), caso.Modo == TModoGeracao::mgEmpresa ? 1u : 0u);
  }
}

TEST_P(BlocoMEFD, FalhaDeUmGeradorNomeiaORegistroELimpaATabelaDeDevolucoes) {
  Banco().ExecutarScript("DROP TABLE TOTALEFDDEBITOESTAB");
  auto repo = TnFisRepositorioEFDBlocoMFabrica::CriarRepositorio(1, 1, EncodeDate(2024, 1, 1), false);
  try {
    repo->CarregarDadosBlocoM(Config(TModoGeracao::mgFilial, "1"));
    FAIL() << "a execução devia falhar";
  } catch (const EPisco& e) {
    EXPECT_EQ(std::string(e.what()).rfind("Erro ao tentar carregar dados do registro M210: ", 0), 0u) << e.what();
  }
  // A tabela temporária pode nem existir mais (transação desfeita); se existir, está vazia.
  try {
    auto ds = Banco().Abrir("SELECT COUNT(*) FROM LCTOFISTMP");
    EXPECT_EQ(ds->Fields(0).AsInteger(), 0);
  } catch (const EBancoDados&) {
  }
}

TEST_P(BlocoMEFD, MesmaSaidaNoSQLiteENoPostgreSQL) {
  if (!EhPostgreSQL()) GTEST_SKIP() << "compara o PostgreSQL com uma cópia SQLite";
  auto executar = [this] {
    auto repo = TnFisRepositorioEFDBlocoMFabrica::CriarRepositorio(1, 1, EncodeDate(2024, 1, 1), false);
    auto mapa = repo->CarregarDadosBlocoM(Config(TModoGeracao::mgEmpresa, ""));
    return MontarLinhasBlocoM(*repo->TotalizarBlocoM());
  };
  const auto linhasPg = executar();
  const auto arquivo = std::filesystem::temp_directory_path() / ("pisco-copia-" + std::to_string(::getpid()) + ".db");
  std::filesystem::remove(arquivo);
  std::vector<std::string> linhasSqlite;
  {
    THost host(TDatabase::Conectar(arquivo.string(), TModoAbertura::maCriar));
    THostScope escopo(host);
    GerarBancoDemo(host.Database(), TConfigDemo{});
    linhasSqlite = executar();
  }
  std::filesystem::remove(arquivo);
  ASSERT_GT(linhasPg.size(), 10u);
  EXPECT_EQ(linhasPg, linhasSqlite);
}

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
