// Executor dos cenários: cada arquivo tests/cenarios/**/*.cenario vira um caso do ctest por
// banco (SQLite e PostgreSQL), num banco novo com o esquema, rodando o binário pisco.
// Numa diferença, diz o cenário, o comando, o registro e o campo que diferem.
// PISCO_CENARIOS_ATUALIZAR=1 regrava as linhas esperadas com a saída do SQLite (nunca no CI:
// toda linha regravada precisa ser conferida à mão antes do commit).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "cenarios/runner/LeitorCenario.h"
#include "db/Schema.h"
#include "fixtures/BancoTemporario.h"
#include "fixtures/RodarPisco.h"
#include "output/LayoutBlocoM.h"

namespace fs = std::filesystem;

namespace {

struct TCasoCenario {
  fs::path Arquivo;
  TBackendTeste Backend;
};

void PrintTo(const TCasoCenario& ACaso, std::ostream* AOut) { *AOut << ACaso.Arquivo.filename().string(); }

const fs::path& PastaCenarios() {
  static const fs::path p = fs::path(PISCO_SOURCE_DIR) / "tests" / "cenarios";
  return p;
}

std::vector<TCasoCenario> ListarCasos() {
  std::vector<fs::path> arquivos;
  for (const auto& e : fs::recursive_directory_iterator(PastaCenarios()))
    if (e.is_regular_file() && e.path().extension() == ".cenario") arquivos.push_back(e.path());
  std::sort(arquivos.begin(), arquivos.end());
  std::vector<TCasoCenario> casos;
  for (const auto& a : arquivos)
    for (auto b : {TBackendTeste::SQLite, TBackendTeste::PostgreSQL}) casos.push_back({a, b});
  return casos;
}

// Nome do caso no ctest: pasta_arquivo_Backend, só letras, dígitos e '_'.
std::string NomeCaso(const ::testing::TestParamInfo<TCasoCenario>& AInfo) {
  std::string nome = fs::relative(AInfo.param.Arquivo, PastaCenarios()).replace_extension().string();
  for (char& c : nome)
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  return nome + (AInfo.param.Backend == TBackendTeste::SQLite ? "_SQLite" : "_PostgreSQL");
}

// Linhas sem '\r' final e sem as linhas vazias do fim.
std::vector<std::string> Linhas(const std::string& ATexto) {
  std::vector<std::string> r;
  std::istringstream in(ATexto);
  for (std::string l; std::getline(in, l);) {
    if (!l.empty() && l.back() == '\r') l.pop_back();
    r.push_back(std::move(l));
  }
  while (!r.empty() && r.back().empty()) r.pop_back();
  return r;
}

// Campos de uma linha CSV (aspas duplas com "" dentro).
std::vector<std::string> CamposCSV(const std::string& ALinha) {
  std::vector<std::string> r(1);
  bool aspas = false;
  for (size_t i = 0; i < ALinha.size(); ++i) {
    const char c = ALinha[i];
    if (aspas) {
      if (c == '"' && i + 1 < ALinha.size() && ALinha[i + 1] == '"') r.back() += c, ++i;
      else if (c == '"') aspas = false;
      else r.back() += c;
    } else if (c == '"') {
      aspas = true;
    } else if (c == ',') {
      r.emplace_back();
    } else {
      r.back() += c;
    }
  }
  return r;
}

// Campos de uma linha "|REG|a|b|": {"REG", "a", "b"}.
std::vector<std::string> CamposSped(const std::string& ALinha) {
  std::vector<std::string> r;
  if (ALinha.size() < 2 || ALinha.front() != '|' || ALinha.back() != '|') return r;
  size_t ini = 1;
  for (size_t p; (p = ALinha.find('|', ini)) != std::string::npos; ini = p + 1) r.push_back(ALinha.substr(ini, p - ini));
  return r;
}

std::string NomeCampoSped(const std::string& ARegistro, size_t ACampo) {
  if (ACampo == 0) return "REG";
  for (const auto& r : LayoutBlocoM())
    if (r.Registro == ARegistro && ACampo - 1 < r.Campos.size()) return r.Campos[ACampo - 1].Campo;
  return "?";
}

std::string Opcao(const std::vector<std::string>& AArgs, const std::string& ANome) {
  for (size_t i = 0; i + 1 < AArgs.size(); ++i)
    if (AArgs[i] == ANome) return AArgs[i + 1];
  return "";
}

// Explica a primeira diferença: linha, registro e campo.
std::string ExplicarDiferenca(const TPassoCenario& APasso, const std::vector<std::string>& AEsperado,
                              const std::vector<std::string>& AObtido) {
  size_t i = 0;
  while (i < AEsperado.size() && i < AObtido.size() && AEsperado[i] == AObtido[i]) ++i;
  std::ostringstream m;
  m << "linha " << i + 1 << " da saída (linha " << APasso.LinhaEsperado + static_cast<int>(i)
    << " do arquivo); esperadas " << AEsperado.size() << " linhas, obtidas " << AObtido.size() << "\n";
  const std::string esp = i < AEsperado.size() ? AEsperado[i] : "(nada)";
  const std::string obt = i < AObtido.size() ? AObtido[i] : "(nada)";
  if (i < AEsperado.size() && i < AObtido.size()) {
    const bool csv = Opcao(APasso.Argumentos, "--formato") == "csv";
    const auto ce = csv ? CamposCSV(esp) : CamposSped(esp);
    const auto co = csv ? CamposCSV(obt) : CamposSped(obt);
    if (!ce.empty() && !co.empty()) {
      const std::string registro = csv ? Opcao(APasso.Argumentos, "--registro") : ce[0];
      const auto cabecalho = csv && !AObtido.empty() ? CamposCSV(AObtido[0]) : std::vector<std::string>{};
      for (size_t k = 0; k < std::max(ce.size(), co.size()); ++k) {
        const std::string a = k < ce.size() ? ce[k] : "(ausente)", b = k < co.size() ? co[k] : "(ausente)";
        if (a == b) continue;
        const std::string nome = csv ? (k < cabecalho.size() ? cabecalho[k] : "?") : NomeCampoSped(registro, k);
        m << "  registro " << registro << ", campo " << (csv ? k + 1 : k) << " (" << nome << "): esperado \"" << a
          << "\", obtido \"" << b << "\"\n";
        break;
      }
    }
  }
  m << "  esperado: " << esp << "\n  obtido:   " << obt << "\n";
  return m.str();
}

bool Atualizar() {
  const char* a = std::getenv("PISCO_CENARIOS_ATUALIZAR");
  const char* ci = std::getenv("CI");
  return a && std::string(a) == "1" && !(ci && *ci);
}

// Troca os blocos esperados (linha inicial, quantidade) pelas linhas novas, de baixo para cima.
void RegravarEsperado(const fs::path& AArquivo, std::map<int, std::pair<size_t, std::vector<std::string>>> ATrocas) {
  std::vector<std::string> linhas;
  {
    std::istringstream in(LerArquivo(AArquivo));
    for (std::string l; std::getline(in, l);) linhas.push_back(l);
  }
  for (auto it = ATrocas.rbegin(); it != ATrocas.rend(); ++it) {
    const auto ini = linhas.begin() + (it->first - 1);
    linhas.erase(ini, ini + static_cast<long>(it->second.first));
    linhas.insert(linhas.begin() + (it->first - 1), it->second.second.begin(), it->second.second.end());
  }
  std::ofstream f(AArquivo, std::ios::binary | std::ios::trunc);
  for (const auto& l : linhas) f << l << "\n";
}

class Cenario : public ::testing::TestWithParam<TCasoCenario> {};

TEST_P(Cenario, Roda) {
  const TCasoCenario& caso = GetParam();
  const TCenario cenario = LerCenario(fs::relative(caso.Arquivo, PISCO_SOURCE_DIR).string(), LerArquivo(caso.Arquivo));
  TBancoTemporario banco(caso.Backend);
  if (!banco.Disponivel()) {
    if (TBancoTemporario::PostgreSQLExigido()) FAIL() << "PISCO_PG_EXIGIDO=1 mas PISCO_PG_URL não foi definido";
    GTEST_SKIP() << "PISCO_PG_URL não definido: cenários no PostgreSQL pulados";
  }
  auto conexao = banco.Conectar();
  // Esquema e dados numa transação por bloco: no SQLite, sem isso, cada comando é um fsync.
  conexao->IniciarTransacao();
  conexao->ExecutarScript(GerarDDL(conexao->Dialeto()));
  conexao->Confirmar();

  char modelo[] = "/tmp/pisco-cenario-XXXXXX";
  ASSERT_NE(mkdtemp(modelo), nullptr);
  const fs::path pasta(modelo);
  const bool atualizar = Atualizar() && caso.Backend == TBackendTeste::SQLite;
  std::map<int, std::pair<size_t, std::vector<std::string>>> trocas;

  const std::string quem = "cenário " + cenario.Nome + " (" + cenario.Arquivo + ")";
  for (const auto& passo : cenario.Passos) {
    if (passo.Tipo == TPassoCenario::TTipo::tpDados) {
      conexao->IniciarTransacao();
      for (const auto& sql : passo.SQL) {
        try {
          conexao->Executar(sql.Texto);
        } catch (const std::exception& e) {
          ADD_FAILURE() << cenario.Arquivo << ":" << sql.Linha << ": " << e.what();
          conexao->Desfazer();
          fs::remove_all(pasta);
          return;
        }
      }
      conexao->Confirmar();
      continue;
    }
    std::vector<std::string> args = passo.Argumentos;
    std::string linhaComando = "pisco";
    for (const auto& a : args) linhaComando += " " + a;
    if (args[0] != "schema") args.insert(args.begin() + 1, {"--db", banco.TextoConexao()});
    const TExecucao r = RodarPisco(args, pasta);
    const std::string onde = quem + ", comando da linha " + std::to_string(passo.Linha) + ": " + linhaComando;
    const int codigoEsperado = passo.EsperaErro ? 1 : 0;
    if (r.Codigo != codigoEsperado) {
      ADD_FAILURE() << onde << "\n  código de saída " << r.Codigo << ", esperado " << codigoEsperado
                    << "\n  stderr: " << r.Erro;
      continue;
    }
    const auto obtido = Linhas(passo.EsperaErro ? r.Erro : r.Saida);
    if (atualizar) {
      trocas[passo.LinhaEsperado] = {passo.Esperado.size(), obtido};
      continue;
    }
    if (obtido != passo.Esperado) ADD_FAILURE() << onde << "\n  " << ExplicarDiferenca(passo, passo.Esperado, obtido);
  }
  fs::remove_all(pasta);
  if (atualizar && !trocas.empty()) RegravarEsperado(caso.Arquivo, std::move(trocas));
}

INSTANTIATE_TEST_SUITE_P(Arquivos, Cenario, ::testing::ValuesIn(ListarCasos()), NomeCaso);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(Cenario);

}  // namespace
