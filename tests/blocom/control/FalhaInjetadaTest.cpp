// Toda falha de banco de uma execução real do Bloco M, uma de cada vez: o N-ésimo comando
// falha, para todo N da execução da empresa 1 da demonstração. Cada vez o erro chega ao
// chamador com o contexto, a temporária de devoluções fica vazia, nenhum arquivo de saída
// aparece e a mesma conexão roda a empresa de novo, com o mesmo resultado.
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <iterator>
#include <sstream>

#include "base/DateTime.h"
#include "base/Erros.h"
#include "db/Demo.h"
#include "fixtures/BancoComFalha.h"
#include "fixtures/Bancos.h"
#include "host/LctoFisTmp.h"
#include "host/Servicos.h"
#include "output/ExecucaoBlocoM.h"

namespace fs = std::filesystem;

namespace {

class FalhaInjetada : public TBancoDemoTeste {
 protected:
  FalhaInjetada() : TBancoDemoTeste(1) {}
};

std::string Ler(const fs::path& p) {
  std::ifstream f(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

TEST_P(FalhaInjetada, CadaComandoDaExecucaoFalhaSemDeixarRastro) {
  auto* falho = new TBancoComFalha(NovaConexao());
  THost host{std::unique_ptr<TDatabase>(falho)};
  THostScope escopo(host);

  TConfigBlocoM config;
  config.CodigoEmpresa = 1;
  CompetenciaParaPeriodo("2024-01", config.DataInicial, config.DataFinal);
  config.ModoGeracao = TModoGeracao::mgEmpresa;
  const fs::path pasta = fs::temp_directory_path() / ("pisco-falha-" + std::to_string(::getpid()) + "-" +
                                                      (EhPostgreSQL() ? "pg" : "sqlite"));
  fs::create_directories(pasta);
  const fs::path arquivo = pasta / "blocom.txt";
  const TSaidaBlocoM saida{"sped", arquivo.string(), false};
  std::ostringstream naoUsada;

  auto devolucoes = [&] {
    falho->Armar(0);
    auto ds = host.Database().Abrir("SELECT COUNT(*) FROM LCTOFISTMP");
    return ds->Fields(0).AsInteger();
  };
  // Cada execução começa sem caches: a sequência de comandos é a mesma em toda rodada.
  auto executar = [&](int64_t AFalharNo) {
    host.Servicos().LimparCaches();
    falho->Armar(AFalharNo);
    ExecutarBlocoM(config, saida, naoUsada);
  };

  // A demonstração tem devoluções no período: a temporária de fato se enche durante a execução.
  TnFisUtilLctoFisTmp::CarregarTempDevolucao(1, "", config.DataInicial, config.DataFinal, false);
  ASSERT_GT(devolucoes(), 0);
  TnFisUtilLctoFisTmp::LimparTempDevolucao();

  executar(0);
  const int64_t total = falho->Comandos();
  const std::string esperado = Ler(arquivo);
  ASSERT_GT(total, 20);
  ASSERT_NE(esperado.find("|M990|"), std::string::npos);
  fs::remove(arquivo);
  RecordProperty("comandos", static_cast<int>(total));

  // Os geradores do caminho dos totais são os únicos que leem TOTALEFD... e a folha: uma falha
  // num deles diz o registro; nas demais etapas o erro do banco chega como veio.
  const std::regex registro("Erro ao tentar carregar dados do registro M[0-9]{3}: ");
  for (int64_t n = 1; n <= total; ++n) {
    SCOPED_TRACE("falha no comando " + std::to_string(n) + " de " + std::to_string(total));
    std::string erro;
    try {
      executar(n);
    } catch (const EPisco& e) {
      erro = e.what();
    }
    ASSERT_FALSE(erro.empty()) << "a execução terminou sem erro; o comando que falhou: " << falho->ComandoFalho();
    EXPECT_NE(erro.find("falha injetada no comando " + std::to_string(n) + ":"), std::string::npos) << erro;
    const std::string& sql = falho->ComandoFalho();
    if (sql.find("TOTALEFD") != std::string::npos || sql.find("PISPASEPFOLHA") != std::string::npos) {
      EXPECT_TRUE(std::regex_search(erro, registro)) << erro;
    }
    EXPECT_EQ(devolucoes(), 0);
    EXPECT_FALSE(fs::exists(arquivo));
    EXPECT_FALSE(fs::exists(arquivo.string() + ".tmp-pisco"));
    // A mesma conexão roda a empresa inteira logo depois, com o mesmo resultado.
    ASSERT_NO_THROW(executar(0));
    EXPECT_EQ(Ler(arquivo), esperado);
    fs::remove(arquivo);
  }
  fs::remove_all(pasta);
}

PISCO_INSTANCIAR_BANCOS(FalhaInjetada);

}  // namespace
