#include "host/Database.h"

#include <algorithm>
#include <fmt/format.h>

#include "host/Backends.h"
#include "base/Erros.h"

std::unique_ptr<TDatabase> TDatabase::Conectar(const std::string& conexao, TModoAbertura modo) {
  const auto ini = conexao.find_first_not_of(" \t\r\n");
  if (ini == std::string::npos) throw EEntradaInvalida("Texto de conexão vazio: informe um arquivo SQLite ou postgresql://...");
  for (unsigned char c : conexao)
    if (c < 0x20) throw EEntradaInvalida("Texto de conexão inválido: contém caracteres de controle");
  if (conexao.rfind("postgresql://", 0) == 0 || conexao.rfind("postgres://", 0) == 0) return ConectarPostgreSQL(conexao);
  const auto esquema = conexao.find("://");
  if (esquema != std::string::npos)
    throw EEntradaInvalida(fmt::format(
        "Texto de conexão inválido: esquema \"{}\" não suportado (use um arquivo SQLite ou postgresql://...)",
        conexao.substr(0, esquema)));
  if (conexao.rfind("postgres", 0) == 0 && conexao.find(':') != std::string::npos)
    throw EEntradaInvalida(fmt::format("Texto de conexão inválido: \"{}\" (esperado postgresql://usuario@host/base)", conexao));
  return ConectarSQLite(conexao, modo);
}

void TDatabase::CarregarLinhas(const std::string& ATabela, const std::vector<std::string>& AColunas,
                               const TParams& AValores) {
  if (AColunas.empty() || AValores.empty()) return;
  const size_t colunas = AColunas.size();
  if (AValores.size() % colunas != 0)
    throw EBancoDados(fmt::format("Carga em {}: {} valores não fecham linhas de {} colunas", ATabela, AValores.size(),
                                  colunas));
  // ~60 parâmetros por comando: a análise do texto cresce com o quadrado dos parâmetros, e o
  // texto de um lote cheio é sempre o mesmo (fica preparado).
  const size_t porComando = std::max<size_t>(1, 60 / colunas);
  auto texto = [&](size_t linhas) {
    std::string s = "INSERT INTO " + ATabela + " (";
    for (size_t i = 0; i < colunas; ++i) s += (i ? ", " : "") + AColunas[i];
    s += ") VALUES ";
    size_t n = 0;
    for (size_t l = 0; l < linhas; ++l) {
      s += l ? ", (" : "(";
      for (size_t i = 0; i < colunas; ++i) s += (i ? ", :P" : ":P") + std::to_string(n++);
      s += ")";
    }
    return s;
  };
  const std::string cheio = texto(porComando);
  const size_t total = AValores.size() / colunas;
  for (size_t l = 0; l < total; l += porComando) {
    const size_t linhas = std::min(porComando, total - l);
    const TParams valores(AValores.begin() + static_cast<std::ptrdiff_t>(l * colunas),
                          AValores.begin() + static_cast<std::ptrdiff_t>((l + linhas) * colunas));
    Executar(linhas == porComando ? cheio : texto(linhas), valores);
  }
}
