// Rastro das consultas (--rastro-sql): uma entrada por consulta emitida, com os valores nos
// nomes certos, as linhas de fato lidas e cada reexecução à parte.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "fixtures/Bancos.h"
#include "host/RastroSQL.h"

namespace {
class RastroSQL : public TBancoTeste {};
}  // namespace

PISCO_INSTANCIAR_BANCOS(RastroSQL);

TEST_P(RastroSQL, CadaConsultaComValoresPorNomeLinhasLidasEReexecucoes) {
  Banco().ExecutarScript("CREATE TABLE T (ID INTEGER, NOME VARCHAR(20), DATA " + TipoData() + ")");
  TRastroSQL rastro;
  Banco().DefinirRastro(&rastro);
  Banco().Executar("INSERT INTO T (ID, NOME, DATA) VALUES (1, 'a', '2024-01-05'), (2, 'b', '2024-01-06'), "
                   "(3, 'c', '2024-02-01')");
  {
    // Lida só até a segunda linha: o rastro conta o que foi lido, não o que havia.
    auto ds = Banco().Abrir("SELECT ID FROM T WHERE DATA BETWEEN :INI AND :FIM AND ID > :MIN OR ID = :MIN ORDER BY ID",
                            {VarDate(EncodeDate(2024, 1, 1)), VarDate(EncodeDate(2024, 12, 31)), TVariant{int64_t{0}}});
    ds->Next();
    // Reexecutada com outro valor e lida até o fim: outra entrada, com as suas linhas.
    ds->Reexecutar({VarDate(EncodeDate(2024, 1, 1)), VarDate(EncodeDate(2024, 1, 31)), TVariant{int64_t{1}}});
    while (!ds->Eof()) ds->Next();
  }
  Banco().DefinirRastro(nullptr);
  Banco().Executar("DELETE FROM T");  // fora do rastro

  std::istringstream linhas(rastro.ComoLinhasJson());
  std::vector<nlohmann::json> js;
  for (std::string l; std::getline(linhas, l);) js.push_back(nlohmann::json::parse(l));
  ASSERT_EQ(js.size(), 3u);
  // afetadas pelo INSERT; lidas (2 de 3); ID 1 (pelo OR) e ID 2 de janeiro
  EXPECT_EQ((std::vector<int>{js[0]["linhas"], js[1]["linhas"], js[2]["linhas"]}), (std::vector<int>{3, 2, 2}));
  EXPECT_EQ(js[2]["parametros"], nlohmann::json::parse(R"({"INI":"2024-01-01","FIM":"2024-01-31","MIN":1})"));

  const auto arquivo = std::filesystem::temp_directory_path() / ("pisco-rastro-" + std::to_string(::getpid()) + ".jsonl");
  rastro.Gravar(arquivo.string());
  std::ifstream f(arquivo);
  std::stringstream lido;
  lido << f.rdbuf();
  EXPECT_EQ(lido.str(), rastro.ComoLinhasJson());
  EXPECT_FALSE(std::filesystem::exists(arquivo.string() + ".tmp-pisco"));
  std::filesystem::remove(arquivo);
}
