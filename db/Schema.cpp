// Junta as tabelas das unidades do esquema e gera o DDL de cada dialeto.
#include "db/Schema.h"

#include <algorithm>
#include <cctype>
#include <set>

#include "base/Erros.h"

namespace {

std::string Maiusculas(std::string s) {
  for (auto& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

std::string TipoSQL(TDialeto d, const TColunaSchema& c) {
  const bool pg = d == TDialeto::dPostgreSQL;
  switch (c.Tipo) {
    case TTipoColuna::tcInteiro: return pg ? "BIGINT" : "INTEGER";
    // No SQLite, NUMERIC guardaria 100.00 como inteiro e 50 / 100 daria 0: valores são REAL.
    case TTipoColuna::tcValor: return pg ? "NUMERIC(18,2)" : "REAL";
    case TTipoColuna::tcAliquota: return pg ? "NUMERIC(18,4)" : "REAL";
    case TTipoColuna::tcAliquota6: return pg ? "NUMERIC(18,6)" : "REAL";
    case TTipoColuna::tcQuantidade: return pg ? "NUMERIC(18,4)" : "REAL";
    case TTipoColuna::tcData: return pg ? "DATE" : "TEXT";
    case TTipoColuna::tcTexto:
      if (!pg) return "TEXT";
      return c.Tamanho > 0 ? "VARCHAR(" + std::to_string(c.Tamanho) + ")" : "TEXT";
  }
  return "TEXT";
}

std::string Lista(const std::vector<std::string>& nomes) {
  std::string r;
  for (size_t i = 0; i < nomes.size(); ++i) {
    if (i) r += ", ";
    r += nomes[i];
  }
  return r;
}

void Validar(const TTabelaSchema& t) {
  if (t.Nome.empty() || t.Colunas.empty()) throw EPisco("Esquema: tabela sem nome ou sem colunas: " + t.Nome);
  std::set<std::string> colunas;
  for (const auto& c : t.Colunas)
    if (!colunas.insert(Maiusculas(c.Nome)).second)
      throw EPisco("Esquema: coluna duplicada em " + t.Nome + ": " + c.Nome);
  auto existe = [&](const std::string& n) { return colunas.count(Maiusculas(n)) > 0; };
  for (const auto& k : t.ChavePrimaria)
    if (!existe(k)) throw EPisco("Esquema: chave " + k + " não é coluna de " + t.Nome);
  for (const auto& ix : t.Indices)
    for (const auto& c : ix.Colunas)
      if (!existe(c)) throw EPisco("Esquema: índice " + ix.Nome + " usa coluna inexistente " + c);
}

}  // namespace

std::vector<TTabelaSchema> JuntarTabelas(std::vector<std::vector<TTabelaSchema>> listas) {
  std::vector<TTabelaSchema> todas;
  std::set<std::string> tabelas, indices;
  for (auto& lista : listas)
    for (auto& t : lista) {
      Validar(t);
      if (!tabelas.insert(Maiusculas(t.Nome)).second)
        throw EPisco("Esquema: tabela duplicada: " + t.Nome);
      for (const auto& ix : t.Indices)
        if (!indices.insert(Maiusculas(ix.Nome)).second)
          throw EPisco("Esquema: índice duplicado: " + ix.Nome);
      todas.push_back(std::move(t));
    }
  return todas;
}

std::vector<TTabelaSchema> TabelasSchema() { return JuntarTabelas({TabelasFiscais(), TabelasOpcoes()}); }

const TTabelaSchema* ProcurarTabela(const std::vector<TTabelaSchema>& tabelas, const std::string& nome) {
  const std::string alvo = Maiusculas(nome);
  for (const auto& t : tabelas)
    if (Maiusculas(t.Nome) == alvo) return &t;
  return nullptr;
}

std::string GerarDDL(TDialeto d, const std::vector<TTabelaSchema>& tabelas, TParteDDL parte) {
  std::string ddl;
  if (parte != TParteDDL::pdIndices)
    for (const auto& t : tabelas) {
      ddl += "CREATE TABLE " + t.Nome + " (\n";
      for (size_t i = 0; i < t.Colunas.size(); ++i) {
        const auto& c = t.Colunas[i];
        ddl += "  " + c.Nome + " " + TipoSQL(d, c);
        if (c.NotNull) ddl += " NOT NULL";
        if (i + 1 < t.Colunas.size() || !t.ChavePrimaria.empty()) ddl += ",";
        ddl += "\n";
      }
      if (!t.ChavePrimaria.empty())
        ddl += "  CONSTRAINT PK" + t.Nome + " PRIMARY KEY (" + Lista(t.ChavePrimaria) + ")\n";
      ddl += ");\n";
    }
  if (parte != TParteDDL::pdTabelas)
    for (const auto& t : tabelas)
      for (const auto& ix : t.Indices)
        ddl += std::string("CREATE ") + (ix.Unico ? "UNIQUE " : "") + "INDEX " + ix.Nome + " ON " + t.Nome +
               " (" + Lista(ix.Colunas) + ");\n";
  return ddl;
}

std::string GerarDDL(TDialeto d) { return GerarDDL(d, TabelasSchema()); }
