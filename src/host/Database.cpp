#include "host/Database.h"

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
