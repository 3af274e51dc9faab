// O comando blocom de ponta a ponta: códigos de saída, mensagens e arquivos de saída.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "db/Demo.h"
#include "host/Database.h"

namespace fs = std::filesystem;

namespace {
struct TResultado {
  int Codigo = -1;
  std::string Saida, Erro;
};

std::string Ler(const fs::path& p) {
  std::ifstream f(p, std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

// Roda o binário sem shell: os argumentos vão direto ao execv.
TResultado Rodar(const std::vector<std::string>& args, const fs::path& dir) {
  const fs::path out = dir / "stdout", err = dir / "stderr";
  std::vector<std::string> todos{PISCO_BINARY_DIR "/pisco"};
  todos.insert(todos.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& a : todos) argv.push_back(a.data());
  argv.push_back(nullptr);
  const pid_t pid = fork();
  if (pid == 0) {
    const int fo = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int fe = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ::dup2(fo, 1);
    ::dup2(fe, 2);
    ::execv(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, Ler(out), Ler(err)};
}

class ComandoBlocoM : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    FDir = fs::temp_directory_path() / ("pisco-cli-" + std::to_string(::getpid()));
    fs::create_directories(FDir);
    auto banco = TDatabase::Conectar((FDir / "demo.db").string(), TModoAbertura::maCriar);
    GerarBancoDemo(*banco, TConfigDemo{});
    // Banco sem o esquema: existe, mas não tem as tabelas.
    auto vazio = TDatabase::Conectar((FDir / "vazio.db").string(), TModoAbertura::maCriar);
    vazio->ExecutarScript("CREATE TABLE QUALQUER (X INTEGER)");
  }
  static void TearDownTestSuite() { fs::remove_all(FDir); }

  static inline fs::path FDir;
  std::string Demo() const { return (FDir / "demo.db").string(); }
};
}  // namespace

// JSON num arquivo pedido por --saida (o texto vai para o stdout nos cenários): nada no stdout.
TEST_F(ComandoBlocoM, GeraOJsonNoArquivoDaSaida) {
  const fs::path arquivo = FDir / "blocom.json";
  const auto r = Rodar({"blocom", "--db", Demo(), "--empresa", "1", "--competencia", "2024-01", "--formato", "json",
                        "--saida", arquivo.string()},
                       FDir);
  ASSERT_EQ(r.Codigo, 0) << r.Erro;
  EXPECT_TRUE(r.Saida.empty());
  const std::string json = Ler(arquivo);
  EXPECT_NE(json.find("\"apuracoes\""), std::string::npos);
  EXPECT_NE(json.find("\"scp\""), std::string::npos);  // a empresa 1 tem um estabelecimento SCP
}

// Erros de execução que os cenários não alcançam (o banco de cada um é dado pelo executor): a
// mensagem, código 1 e nenhum arquivo de saída, nem o temporário. As demais mensagens estão em
// cenarios/blocom/cli-erros-de-entrada-blocom.
TEST_F(ComandoBlocoM, EntradaRuimDaMensagemClaraCodigo1ENenhumArquivo) {
  const std::string inexistente = (FDir / "nao-existe.db").string();
  const std::pair<std::string, std::string> casos[] = {{Demo(), "Empresa 99 não encontrada"},
                                                       {(FDir / "vazio.db").string(), "não tem o esquema"},
                                                       {inexistente, "não encontrado"}};
  for (const auto& [banco, trecho] : casos) {
    const fs::path saida = FDir / "saida.txt";
    const auto r =
        Rodar({"blocom", "--db", banco, "--empresa", banco == Demo() ? "99" : "1", "--competencia", "2024-01",
               "--saida", saida.string()},
              FDir);
    EXPECT_EQ(r.Codigo, 1) << trecho << ": " << r.Erro;
    EXPECT_NE(r.Erro.find(trecho), std::string::npos) << r.Erro;
    EXPECT_FALSE(fs::exists(saida)) << trecho;
    EXPECT_FALSE(fs::exists(saida.string() + ".tmp-pisco")) << trecho;
  }
  EXPECT_FALSE(fs::exists(inexistente));  // ler nunca cria um banco vazio
}

// Erro de uso sai com 2 e em português (nenhuma frase padrão em inglês da biblioteca); valor
// que não é código de empresa ganha uma mensagem curta que diz o que se espera.
TEST_F(ComandoBlocoM, ErroDeUsoSaiComCodigo2) {
  auto conferir = [&](const std::vector<std::string>& args, const std::string& trecho) {
    const auto r = Rodar(args, FDir);
    EXPECT_EQ(r.Codigo, 2) << r.Erro;
    EXPECT_NE(r.Erro.find(trecho), std::string::npos) << r.Erro;
    EXPECT_EQ(r.Erro.find("required"), std::string::npos) << r.Erro;
    EXPECT_EQ(r.Erro.find("Run with"), std::string::npos) << r.Erro;
  };
  for (const auto& args : std::vector<std::vector<std::string>>{
           {"blocom", "--db", Demo(), "--competencia", "2024-01"},
           {"blocom", "--db", Demo(), "--empresa", "1"},
           {"blocom", "--db", Demo(), "--empresa", "1", "--competencia", "2024-01", "--modo", "tudo"},
           {"blocom", "--db", Demo(), "--empresa", "1", "--competencia", "2024-01", "--inicio", "2024-01-01"},
           {"blocom", "--db", Demo(), "--empresa", "1", "--competencia", "2024-01", "--natureza", "x"},
           {"comando-que-nao-existe"},
           {}})
    conferir(args, "Use --help");
  for (const char* valor : {"abc", "0", "1.5", "99999999999999999999"})
    conferir({"blocom", "--db", Demo(), "--empresa", valor, "--competencia", "2024-01"},
             "--empresa: informe o código da empresa, um número inteiro positivo");
}

// Natureza da pessoa jurídica: lida do cadastro da empresa (a 4 da demonstração é cooperativa),
// ou de --natureza. Só a cooperativa sem composição já apurada ganha o M211 padrão (tipo 99).
TEST_F(ComandoBlocoM, NaturezaDaEmpresaDecideOM211) {
  auto linhas = [](const std::string& texto, const std::string& prefixo) {
    size_t n = 0;
    for (size_t p = texto.find("\r\n" + prefixo); p != std::string::npos; p = texto.find("\r\n" + prefixo, p + 1)) ++n;
    return n;
  };
  auto blocom = [&](const char* AEmpresa, std::vector<std::string> AExtra) {
    std::vector<std::string> args{"blocom", "--db", Demo(), "--empresa", AEmpresa, "--competencia", "2024-01"};
    args.insert(args.end(), AExtra.begin(), AExtra.end());
    const auto r = Rodar(args, FDir);
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
