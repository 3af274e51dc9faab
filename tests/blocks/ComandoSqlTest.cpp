// pisco sql pela linha de comando: texto e valores, execução em texto/CSV/JSON, códigos de saída.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <sys/wait.h>

#include <unistd.h>

#include "blocks/CatalogoBlocos.h"

namespace {

struct TSaida {
  int Codigo = -1;
  std::string Texto;  // stdout
  std::string Erro;   // stderr
};

TSaida Pisco(const std::string& AArgs) {
  const std::string erro = ::testing::TempDir() + "pisco-sql-stderr-" + std::to_string(::getpid()) + ".txt";
  const std::string cmd = std::string(PISCO_BINARY_DIR) + "/pisco " + AArgs + " 2>" + erro;
  TSaida s;
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) return s;
  std::array<char, 4096> buf;
  for (size_t n; (n = fread(buf.data(), 1, buf.size(), p)) > 0;) s.Texto.append(buf.data(), n);
  const int st = pclose(p);
  s.Codigo = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  if (FILE* e = fopen(erro.c_str(), "r")) {
    for (size_t n; (n = fread(buf.data(), 1, buf.size(), e)) > 0;) s.Erro.append(buf.data(), n);
    fclose(e);
  }
  return s;
}

class ComandoSql : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // Um banco por processo: o ctest roda os casos desta suíte em paralelo.
    FBanco = ::testing::TempDir() + "pisco-sql-demo-" + std::to_string(::getpid()) + ".db";
    std::remove(FBanco.c_str());
    ASSERT_EQ(Pisco("demo-db " + FBanco + " --empresas 1").Codigo, 0);
  }
  static void TearDownTestSuite() { std::remove(FBanco.c_str()); }

  static std::string Base(const std::string& AReg, const std::string& AExtra = "") {
    return "sql --db " + FBanco + " --registro " + AReg + " --empresa 1 --competencia 2024-01 " + AExtra;
  }
  static std::string FBanco;
};
std::string ComandoSql::FBanco;

// O texto impresso é o do repositório, e os valores vêm na ordem dos nomes.
TEST_F(ComandoSql, ImprimeOTextoEOsValores) {
  const auto s = Pisco(Base("a100", "--estab 1 --movimento ent"));
  ASSERT_EQ(s.Codigo, 0) << s.Erro;
  const TnParansBlocoA a{1, "1", EncodeDate(2024, 1, 1), EncodeDate(2024, 1, 31), false, 0, false};
  EXPECT_NE(s.Texto.find(TnArqRepositorioSPEDPisCofinsBlocoA::GetSqlA100(a)), std::string::npos);
  EXPECT_NE(s.Texto.find("--   2: 1 (inteiro)\n--   3: 2024-01-01 (data)\n--   4: 2024-01-31 (data)\n"),
            std::string::npos);

  const auto j = nlohmann::json::parse(Pisco(Base("A170", "--formato json")).Texto);
  EXPECT_EQ(j["registro"], "A170");
  EXPECT_EQ(j["valores"], nlohmann::json::parse(R"([1, "2024-01-01", "2024-01-31"])"));
  EXPECT_EQ(j["valores_carregador"], nlohmann::json::parse(R"([-1, "1899-12-30", "1899-12-30"])"));
  const TnParansBlocoA s170{1, "", EncodeDate(2024, 1, 1), EncodeDate(2024, 1, 31), false, 1, false};
  EXPECT_EQ(j["sql"], TnArqRepositorioSPEDPisCofinsBlocoA::GetSQLA170(s170));
}

// Executa com os valores reais (também no A170, cujo carregador abre com os nulos) e imprime
// as mesmas linhas nos três formatos; o conteúdo em CSV, campo a campo, está nos cenários.
TEST_F(ComandoSql, ExecutaEmTextoCsvEJson) {
  const auto json = Pisco(Base("A170", "--executar --formato json"));
  ASSERT_EQ(json.Codigo, 0) << json.Erro;
  const auto j = nlohmann::json::parse(json.Texto);
  ASSERT_TRUE(j.is_array());
  const int64_t linhas = static_cast<int64_t>(j.size());
  ASSERT_GT(linhas, 0);
  EXPECT_TRUE(j[0].contains("TIPODEBCRED") || j[0].contains("tipodebcred"));
  const auto csv = Pisco(Base("A170", "--executar --formato csv"));
  ASSERT_EQ(csv.Codigo, 0) << csv.Erro;
  EXPECT_EQ(std::count(csv.Texto.begin(), csv.Texto.end(), '\n'), linhas + 1);
  const auto texto = Pisco(Base("A170", "--executar"));
  ASSERT_EQ(texto.Codigo, 0) << texto.Erro;
  EXPECT_NE(texto.Texto.find("(" + std::to_string(linhas) + " linhas)\n"), std::string::npos);
}

// --listar mostra os registros por bloco, sem banco; todo registro listado imprime o seu texto.
TEST_F(ComandoSql, ListaERegistrosDeTodosOsBlocos) {
  const auto l = Pisco("sql --listar");
  ASSERT_EQ(l.Codigo, 0) << l.Erro;
  std::vector<std::string> nomes;
  std::istringstream linhas(l.Texto);
  for (std::string linha; std::getline(linhas, linha);) {
    if (linha.rfind("Bloco ", 0) != 0) continue;
    std::istringstream lista(linha.substr(linha.find(": ") + 2));
    for (std::string n; std::getline(lista >> std::ws, n, ',');) nomes.push_back(n);
  }
  for (const char* n : {"A100", "C170", "C181_185", "C489_499", "D600", "F800", "I200_I300", "P200", "1900"})
    EXPECT_NE(std::find(nomes.begin(), nomes.end(), n), nomes.end()) << n;
  for (const auto& n : nomes) {
    const auto s = Pisco(Base(n, "--formato json"));
    ASSERT_EQ(s.Codigo, 0) << n << ": " << s.Erro;
    EXPECT_EQ(nlohmann::json::parse(s.Texto)["registro"], n);
  }
}

// Bloco C: a gêmea (--memoria) roda o C170 com os valores reais e traz as mesmas linhas.
TEST_F(ComandoSql, BlocoCEmMemoriaExecutaOC170) {
  const auto banco = Pisco(Base("C170", "--executar --formato csv"));
  const auto memoria = Pisco(Base("C170", "--executar --formato csv --memoria --estab 1"));
  const auto principal = Pisco(Base("C170", "--executar --formato csv --estab 1"));
  ASSERT_EQ(memoria.Codigo, 0) << memoria.Erro;
  EXPECT_GT(std::count(banco.Texto.begin(), banco.Texto.end(), '\n'), 1);
  EXPECT_EQ(memoria.Texto, principal.Texto);
  const auto j = nlohmann::json::parse(Pisco(Base("C170", "--formato json --memoria --estab 1")).Texto);
  EXPECT_FALSE(j.contains("valores_carregador"));
  EXPECT_EQ(j["valores"], nlohmann::json::parse(R"([1, "2024-01-01", "2024-01-31", 1])"));
}

// Uso errado sai com 2; erro de execução com 1 e mensagem em português.
TEST_F(ComandoSql, CodigosDeSaida) {
  struct TCaso {
    std::string Args;
    int Codigo;
    const char* Mensagem;
  };
  const TCaso casos[] = {
      {Base("Z999"), 2, "registro desconhecido"},
      {"sql --db " + FBanco + " --registro A100 --empresa 1 --competencia 2024-13", 2, "competência inválida"},
      {Base("A100", "--estab \"1; drop table PESSOA\""), 2, "estabelecimento inválido"},
      {Base("A100", "--movimento x"), 2, ""},
      {Base("A100", "--formato xml"), 2, ""},
      {"sql --registro A100 --empresa 1 --competencia 2024-01", 2, ""},
      {"sql --db /tmp/nao-existe-pisco/x.db --registro A100 --empresa 1 --competencia 2024-01 --executar", 1, ""},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.Args);
    const auto s = Pisco(c.Args);
    EXPECT_EQ(s.Codigo, c.Codigo) << s.Erro;
    EXPECT_NE(s.Erro.find(c.Mensagem), std::string::npos) << s.Erro;
    EXPECT_FALSE(s.Erro.empty());
  }
}

}  // namespace
