// O pisco de ponta a ponta, pelo binário: códigos de saída, mensagens, arquivos de saída, e o
// sql (texto, valores e execução em texto/CSV/JSON). As saídas campo a campo estão nos cenários.
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "blocks/nArqRepositorioSPEDPisCofinsBlocoA_U.h"
#include "db/Demo.h"
#include "fixtures/RodarPisco.h"
#include "host/Database.h"

namespace fs = std::filesystem;

namespace {
using TResultado = TExecucao;

class LinhaDeComando : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // Uma pasta por processo: o ctest roda os casos em paralelo.
    FDir = fs::temp_directory_path() / ("pisco-cli-" + std::to_string(::getpid()));
    fs::create_directories(FDir);
    auto banco = TDatabase::Conectar((FDir / "demo.db").string(), TModoAbertura::maCriar);
    GerarBancoDemo(*banco, TConfigDemo{});
    // Banco sem o esquema: existe, mas não tem as tabelas.
    auto vazio = TDatabase::Conectar((FDir / "vazio.db").string(), TModoAbertura::maCriar);
    vazio->ExecutarScript("CREATE TABLE QUALQUER (X INTEGER)");
  }
  static void TearDownTestSuite() { fs::remove_all(FDir); }

  static TResultado Rodar(std::vector<std::string> AArgs) { return RodarPisco(std::move(AArgs), FDir); }
  static std::string Demo() { return (FDir / "demo.db").string(); }
  // pisco sql de um registro da empresa 1 em 01/2024 com as opções a mais.
  static TResultado Sql(const std::string& AReg, std::vector<std::string> AExtra = {}) {
    std::vector<std::string> a{"sql", "--db", Demo(), "--registro", AReg, "--empresa", "1", "--competencia", "2024-01"};
    a.insert(a.end(), AExtra.begin(), AExtra.end());
    return Rodar(a);
  }
  static inline fs::path FDir;
};
}  // namespace

// JSON num arquivo pedido por --saida (o texto vai para o stdout nos cenários): nada no stdout.
TEST_F(LinhaDeComando, BlocoMEmJsonNoArquivoDaSaida) {
  const fs::path arquivo = FDir / "blocom.json";
  const auto r = Rodar({"blocom", "--db", Demo(), "--empresa", "1", "--competencia", "2024-01", "--formato", "json",
                        "--saida", arquivo.string()});
  ASSERT_EQ(r.Codigo, 0) << r.Erro;
  EXPECT_TRUE(r.Saida.empty());
  const std::string json = LerArquivo(arquivo);
  EXPECT_NE(json.find("\"apuracoes\""), std::string::npos);
  EXPECT_NE(json.find("\"scp\""), std::string::npos);  // a empresa 1 tem um estabelecimento SCP
}

// Erros de execução que os cenários não alcançam (o banco de cada um é dado pelo executor): a
// mensagem, código 1 e nenhum arquivo de saída, nem o temporário. As demais mensagens estão em
// cenarios/blocom/cli-erros-de-entrada-blocom.
TEST_F(LinhaDeComando, EntradaRuimDaMensagemClaraCodigo1ENenhumArquivo) {
  const std::string inexistente = (FDir / "nao-existe.db").string();
  const std::pair<std::string, std::string> casos[] = {{Demo(), "Empresa 99 não encontrada"},
                                                       {(FDir / "vazio.db").string(), "não tem o esquema"},
                                                       {inexistente, "não encontrado"}};
  for (const auto& [banco, trecho] : casos) {
    const fs::path saida = FDir / "saida.txt";
    const auto r = Rodar({"blocom", "--db", banco, "--empresa", banco == Demo() ? "99" : "1", "--competencia",
                          "2024-01", "--saida", saida.string()});
    EXPECT_EQ(r.Codigo, 1) << trecho << ": " << r.Erro;
    EXPECT_NE(r.Erro.find(trecho), std::string::npos) << r.Erro;
    EXPECT_FALSE(fs::exists(saida)) << trecho;
    EXPECT_FALSE(fs::exists(saida.string() + ".tmp-pisco")) << trecho;
  }
  EXPECT_FALSE(fs::exists(inexistente));  // ler nunca cria um banco vazio
  const auto r = Rodar({"sql", "--db", inexistente, "--registro", "A100", "--empresa", "1", "--competencia",
                        "2024-01", "--executar"});
  EXPECT_EQ(r.Codigo, 1);
  EXPECT_NE(r.Erro.find("não encontrado"), std::string::npos) << r.Erro;
}

// Erro de uso sai com 2 e em português (nenhuma frase padrão em inglês da biblioteca); valor
// que não é código de empresa ganha uma mensagem curta que diz o que se espera.
TEST_F(LinhaDeComando, ErroDeUsoSaiComCodigo2) {
  auto conferir = [&](const std::vector<std::string>& args, const std::string& trecho) {
    const auto r = Rodar(args);
    EXPECT_EQ(r.Codigo, 2) << r.Erro;
    EXPECT_NE(r.Erro.find(trecho), std::string::npos) << r.Erro;
    EXPECT_EQ(r.Erro.find("required"), std::string::npos) << r.Erro;
    EXPECT_EQ(r.Erro.find("Run with"), std::string::npos) << r.Erro;
  };
  const std::string m = "2024-01", d = Demo();
  for (const auto& args : std::vector<std::vector<std::string>>{
           {"blocom", "--db", d, "--competencia", m},
           {"blocom", "--db", d, "--empresa", "1"},
           {"blocom", "--db", d, "--empresa", "1", "--competencia", m, "--modo", "tudo"},
           {"blocom", "--db", d, "--empresa", "1", "--competencia", m, "--inicio", "2024-01-01"},
           {"blocom", "--db", d, "--empresa", "1", "--competencia", m, "--natureza", "x"},
           {"sql", "--registro", "A100", "--empresa", "1", "--competencia", m},
           {"sql", "--db", d, "--registro", "A100", "--empresa", "1", "--competencia", m, "--movimento", "x"},
           {"sql", "--db", d, "--registro", "A100", "--empresa", "1", "--competencia", m, "--formato", "xml"},
           {"comando-que-nao-existe"},
           {}})
    conferir(args, "Use --help");
  for (const char* valor : {"abc", "0", "1.5", "99999999999999999999"})
    conferir({"blocom", "--db", d, "--empresa", valor, "--competencia", m},
             "--empresa: informe o código da empresa, um número inteiro positivo");
  conferir({"sql", "--db", d, "--registro", "Z999", "--empresa", "1", "--competencia", m}, "registro desconhecido");
  conferir({"sql", "--db", d, "--registro", "A100", "--empresa", "1", "--competencia", "2024-13"},
           "competência inválida");
  conferir(
      {"sql", "--db", d, "--registro", "A100", "--empresa", "1", "--competencia", m, "--estab", "1; drop table PESSOA"},
      "estabelecimento inválido");
}

// Natureza da pessoa jurídica: lida do cadastro da empresa (a 4 da demonstração é cooperativa),
// ou de --natureza. Só a cooperativa sem composição já apurada ganha o M211 padrão (tipo 99).
TEST_F(LinhaDeComando, NaturezaDaEmpresaDecideOM211) {
  auto linhas = [](const std::string& texto, const std::string& prefixo) {
    size_t n = 0;
    for (size_t p = texto.find("\r\n" + prefixo); p != std::string::npos; p = texto.find("\r\n" + prefixo, p + 1)) ++n;
    return n;
  };
  auto blocom = [&](const char* AEmpresa, std::vector<std::string> AExtra) {
    std::vector<std::string> args{"blocom", "--db", Demo(), "--empresa", AEmpresa, "--competencia", "2024-01"};
    args.insert(args.end(), AExtra.begin(), AExtra.end());
    const auto r = Rodar(args);
    EXPECT_EQ(r.Codigo, 0) << r.Erro;
    return r.Saida;
  };
  const std::string cooperativa = blocom("4", {});
  EXPECT_GT(linhas(cooperativa, "|M211|99|"), 0u);
  EXPECT_EQ(linhas(cooperativa, "|M211|"), linhas(cooperativa, "|M210|"));
  EXPECT_EQ(linhas(cooperativa, "|M611|"), linhas(cooperativa, "|M610|"));
  EXPECT_EQ(linhas(blocom("4", {"--natureza", "0"}), "|M211|"), 0u);
  EXPECT_EQ(linhas(blocom("1", {}), "|M211|"), 0u);
  EXPECT_GT(linhas(blocom("1", {"--natureza", "01"}), "|M211|99|"), 0u);
}

// O texto impresso é o do repositório pedido (lado e estabelecimento levados), com os valores na
// ordem dos nomes; o JSON diz os valores do carregador quando diferem (A170) e a gêmea do bloco C
// (--memoria) traz os seus, sem os do carregador.
TEST_F(LinhaDeComando, SqlImprimeOTextoEOsValores) {
  const auto s = Sql("a100", {"--estab", "1", "--movimento", "ent"});
  ASSERT_EQ(s.Codigo, 0) << s.Erro;
  using RA = TnArqRepositorioSPEDPisCofinsBlocoA;
  EXPECT_NE(s.Saida.find(RA::GetSqlA100({1, "1", EncodeDate(2024, 1, 1), EncodeDate(2024, 1, 31), false, 0, false})),
            std::string::npos);
  EXPECT_NE(s.Saida.find("--   2: 1 (inteiro)\n--   3: 2024-01-01 (data)\n--   4: 2024-01-31 (data)\n"),
            std::string::npos);
  auto j = nlohmann::json::parse(Sql("A170", {"--formato", "json"}).Saida);
  EXPECT_EQ(j["registro"], "A170");
  EXPECT_EQ(j["valores"], nlohmann::json::parse(R"([1, "2024-01-01", "2024-01-31"])"));
  EXPECT_EQ(j["valores_carregador"], nlohmann::json::parse(R"([-1, "1899-12-30", "1899-12-30"])"));
  EXPECT_EQ(j["sql"], RA::GetSQLA170({1, "", EncodeDate(2024, 1, 1), EncodeDate(2024, 1, 31), false, 1, false}));
  j = nlohmann::json::parse(Sql("C170", {"--formato", "json", "--memoria", "--estab", "1"}).Saida);
  EXPECT_FALSE(j.contains("valores_carregador"));
  EXPECT_EQ(j["valores"], nlohmann::json::parse(R"([1, "2024-01-01", "2024-01-31", 1])"));
}

// Executa com os valores reais (também no A170, cujo carregador abre com os nulos) e imprime
// as mesmas linhas nos três formatos.
TEST_F(LinhaDeComando, SqlExecutaEmTextoCsvEJson) {
  const auto json = Sql("A170", {"--executar", "--formato", "json"});
  ASSERT_EQ(json.Codigo, 0) << json.Erro;
  const auto j = nlohmann::json::parse(json.Saida);
  ASSERT_TRUE(j.is_array());
  const int64_t linhas = static_cast<int64_t>(j.size());
  ASSERT_GT(linhas, 0);
  EXPECT_TRUE(j[0].contains("TIPODEBCRED"));
  const auto csv = Sql("A170", {"--executar", "--formato", "csv"}).Saida;
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), linhas + 1);
  EXPECT_NE(Sql("A170", {"--executar"}).Saida.find("(" + std::to_string(linhas) + " linhas)\n"), std::string::npos);
}

// --listar mostra os registros por bloco, sem banco; todo registro listado imprime o seu texto.
TEST_F(LinhaDeComando, SqlListaERegistrosDeTodosOsBlocos) {
  const auto l = Rodar({"sql", "--listar"});
  ASSERT_EQ(l.Codigo, 0) << l.Erro;
  std::vector<std::string> nomes;
  std::istringstream linhas(l.Saida);
  for (std::string linha; std::getline(linhas, linha);) {
    if (linha.rfind("Bloco ", 0) != 0) continue;
    std::istringstream lista(linha.substr(linha.find(": ") + 2));
    for (std::string n; std::getline(lista >> std::ws, n, ',');) nomes.push_back(n);
  }
  for (const char* n : {"A100", "C489_499", "D600", "OBSF100", "I200_I300", "P200", "1900"})
    EXPECT_NE(std::find(nomes.begin(), nomes.end(), n), nomes.end()) << n;
  for (const auto& n : nomes) {
    const auto s = Sql(n, {"--formato", "json"});
    ASSERT_EQ(s.Codigo, 0) << n << ": " << s.Erro;
    EXPECT_EQ(nlohmann::json::parse(s.Saida)["registro"], n);
  }
}
