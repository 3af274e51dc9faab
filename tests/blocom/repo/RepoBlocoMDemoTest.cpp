// Repositório monolítico sobre a demonstração inteira: cada empresa e modo roda, o bloco
// passa nas regras de consistência do leiaute e sai igual, byte a byte, no SQLite e no
// PostgreSQL.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "blocom/repo/nFisRepositorioPisCofinsBlocoM_U.h"
#include "db/Demo.h"
#include "fixtures/Bancos.h"
#include "fixtures/ConsistenciaBlocoM.h"
#include "output/EscritorBlocoM.h"

namespace {
struct TCasoDemo {
  int Empresa;
  TModoGeracao Modo;
  const char* Estab;
};
// Empresa 1: matriz (1), filial (2) e SCP (3); 2 presumido; 3 misto.
const TCasoDemo kCasos[] = {
    {1, TModoGeracao::mgEmpresa, ""}, {1, TModoGeracao::mgFilial, "1"}, {1, TModoGeracao::mgFilial, "2"},
    {1, TModoGeracao::mgSCP, "3"},    {2, TModoGeracao::mgEmpresa, ""}, {2, TModoGeracao::mgFilial, "1"},
    {3, TModoGeracao::mgEmpresa, ""}, {3, TModoGeracao::mgFilial, "2"},
};

std::string Nome(const TCasoDemo& c) {
  return "empresa " + std::to_string(c.Empresa) + " estab '" + c.Estab + "'";
}

// Todas as execuções, concatenadas: o M001 de cada caso e os das suas SCP.
std::vector<std::string> RodarTodos() {
  std::vector<std::string> r;
  for (const auto& c : kCasos) {
    TConfigBlocoM config;
    config.CodigoEmpresa = c.Empresa;
    config.CodigoEstab = c.Estab;
    config.ModoGeracao = c.Modo;
    CompetenciaParaPeriodo("2024-01", config.DataInicial, config.DataFinal);
    TRepoPisCofinsBlocoM repo;
    auto m001 = repo.CarregarDadosBlocoM(config);
    r.push_back("# " + Nome(c));
    for (auto& l : MontarLinhasBlocoM(*m001)) r.push_back(std::move(l));
    for (const auto& [scp, m001SCP] : repo.GetResultadoSCP()) {
      r.push_back("# SCP " + scp.INSCRICAOSCP);
      for (auto& l : MontarLinhasBlocoM(*m001SCP)) r.push_back(std::move(l));
    }
  }
  return r;
}

class RepoBlocoMDemo : public TBancoDemoTeste {};
}  // namespace

// No PostgreSQL a mesma saída é comparada, linha a linha, com a de uma cópia SQLite.
TEST_P(RepoBlocoMDemo, TodasAsEmpresasEModosConsistentesEIguaisNosDoisBancos) {
  const auto linhas = RodarTodos();
  std::vector<std::string> bloco;
  std::string caso;
  size_t blocos = 0;
  for (size_t i = 0; i <= linhas.size(); ++i) {
    if (i < linhas.size() && linhas[i].rfind("# ", 0) != 0) {
      bloco.push_back(linhas[i]);
      continue;
    }
    if (!bloco.empty()) {
      ++blocos;
      for (const auto& erro : consistencia::ConferirBlocoM(bloco)) ADD_FAILURE() << caso << ": " << erro;
    }
    bloco.clear();
    if (i < linhas.size()) caso = linhas[i];
  }
  EXPECT_EQ(blocos, std::size(kCasos) + 1) << "um bloco por caso e um da SCP da empresa 1";
  // Cada perfil chega aos registros que o caminho SQL sabe montar.
  for (const char* reg : {"|M100|", "|M105|", "|M110|", "|M205|", "|M210|", "|M211|", "|M215|", "|M220|", "|M350|",
                          "|M400|", "|M410|", "|M500|", "|M605|", "|M810|"})
    EXPECT_TRUE(std::any_of(linhas.begin(), linhas.end(), [&](const std::string& l) { return l.rfind(reg, 0) == 0; }))
        << reg << " não aparece em nenhuma execução da demonstração";

  if (!EhPostgreSQL()) return;
  const auto arquivo =
      std::filesystem::temp_directory_path() / ("pisco-repo-copia-" + std::to_string(::getpid()) + ".db");
  std::filesystem::remove(arquivo);
  std::vector<std::string> linhasSqlite;
  {
    THost host(TDatabase::Conectar(arquivo.string(), TModoAbertura::maCriar));
    THostScope escopo(host);
    GerarBancoDemo(host.Database(), TConfigDemo{});
    linhasSqlite = RodarTodos();
  }
  std::filesystem::remove(arquivo);
  EXPECT_EQ(linhas, linhasSqlite);
}

PISCO_INSTANCIAR_BANCOS(RepoBlocoMDemo);
