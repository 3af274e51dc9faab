#include "host/DMSQLDataSet.h"

#include <cctype>
#include <fmt/format.h>

#include "base/Erros.h"
#include "host/Nutildb.h"
#include "host/SQLParams.h"

namespace {
bool Identificador(const std::string& s) {
  if (s.empty() || !(std::isalpha(static_cast<unsigned char>(s[0])) || s[0] == '_')) return false;
  for (char c : s)
    if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.')) return false;
  return true;
}
bool ExpressaoSimples(const std::string& s) {
  if (s.find_first_not_of(' ') == std::string::npos) return false;
  for (char c : s)
    if (!(std::isalnum(static_cast<unsigned char>(c)) || std::string_view("_.,()*+/ ").find(c) != std::string_view::npos))
      return false;
  return true;
}
}  // namespace

TVariant TnDMSQLDataSet::PegarValorCampo(const std::string& ATabela, const std::string& AColuna,
                                         const std::string& ACondicao) {
  if (!Identificador(ATabela)) throw EEntradaInvalida(fmt::format("Tabela inválida em PegarValorCampo: \"{}\"", ATabela));
  if (!ExpressaoSimples(AColuna)) throw EEntradaInvalida(fmt::format("Coluna inválida em PegarValorCampo: \"{}\"", AColuna));
  if (TemSeparadorOuComentario(ACondicao))
    throw EEntradaInvalida(
        fmt::format("Condição recusada em PegarValorCampo (';', comentário ou literal sem fim): \"{}\"", ACondicao));
  const bool semCondicao = ACondicao.find_first_not_of(" \t\r\n") == std::string::npos;
  const std::string sql =
      "SELECT " + AColuna + " AS VALOR FROM " + ATabela + (semCondicao ? "" : " WHERE " + ACondicao) + " LIMIT 1";
  auto ds = Nutildb::ExecutarSQL(sql);
  TVariant r = ds->Eof() ? VarNull() : ds->Fields(0).Value();
  Nutildb::DestruirSQL(ds);
  return r;
}
