#include "db/VarreduraSQL.h"

#include <cctype>
#include <map>
#include <set>

namespace {

std::string Maiusculas(std::string s) {
  for (auto& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

bool InicioIdent(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool ParteIdent(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// Tamanho de um marcador de formatação em s[i] ("%s", "%0:s", "%1:S", "%0:d"); 0 se não for.
size_t Marcador(const std::string& s, size_t i) {
  if (s[i] != '%') return 0;
  size_t j = i + 1;
  while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j]))) ++j;
  if (j < s.size() && s[j] == ':') ++j;
  if (j < s.size() && (s[j] == 's' || s[j] == 'S' || s[j] == 'd')) return j + 1 - i;
  return 0;
}

struct TToken {
  std::string Texto;  // identificador (com marcadores), ou um caractere de pontuação
  bool Ident = false;
  int Linha = 0;
};

std::vector<TToken> Tokens(const std::vector<TLiteralCpp>& literais) {
  std::vector<TToken> ts;
  for (const auto& lit : literais) {
    const std::string& s = lit.Texto;
    size_t i = 0;
    while (i < s.size()) {
      const char c = s[i];
      if (std::isspace(static_cast<unsigned char>(c))) {
        ++i;
      } else if (InicioIdent(c) || (Marcador(s, i) > 0)) {
        size_t j = i;
        while (j < s.size()) {
          if (ParteIdent(s[j])) {
            ++j;
          } else if (size_t m = Marcador(s, j)) {
            j += m;
          } else {
            break;
          }
        }
        ts.push_back({s.substr(i, j - i), true, lit.Linha});
        i = j;
      } else if (std::isdigit(static_cast<unsigned char>(c))) {
        size_t j = i;
        while (j < s.size() && (ParteIdent(s[j]) || s[j] == '.')) ++j;  // números e códigos 4.3.05.00
        ts.push_back({s.substr(i, j - i), false, lit.Linha});
        i = j;
      } else if (c == '\'') {
        size_t j = s.find('\'', i + 1);  // literal SQL: não é identificador
        j = j == std::string::npos ? s.size() : j + 1;
        ts.push_back({"'", false, lit.Linha});
        i = j;
      } else {
        ts.push_back({std::string(1, c), false, lit.Linha});
        ++i;
      }
    }
    ts.push_back({"\n", false, lit.Linha});  // fronteira entre literais
  }
  return ts;
}

// Troca cada marcador por um dos textos que o sistema põe no lugar dele.
std::vector<std::string> Expandir(const std::string& nome) {
  static const char* trocas[] = {"", "ENT", "SAI", "PIS", "COFINS", "ENTRETIDO"};
  std::vector<std::string> r = {""};
  size_t i = 0;
  while (i < nome.size()) {
    if (size_t m = Marcador(nome, i)) {
      std::vector<std::string> novo;
      for (const auto& p : r)
        for (const char* t : trocas) novo.push_back(p + t);
      r.swap(novo);
      i += m;
    } else {
      for (auto& p : r) p += nome[i];
      ++i;
    }
  }
  for (auto& p : r) p = Maiusculas(p);
  return r;
}

bool SoMarcador(const std::string& nome) {
  for (size_t i = 0; i < nome.size();) {
    size_t m = Marcador(nome, i);
    if (!m) return false;
    i += m;
  }
  return true;
}

const std::set<std::string>& PalavrasChave() {
  static const std::set<std::string> p = {
      "WHERE", "ON", "JOIN", "LEFT", "RIGHT", "INNER", "OUTER", "FULL", "CROSS", "GROUP", "ORDER", "HAVING", "UNION",
      "AS", "SET", "VALUES", "SELECT", "USING", "LIMIT", "AND", "OR", "WITH", "UNION", "EXCEPT", "INTERSECT", "FETCH"};
  return p;
}

bool TabelaDoSistema(const std::string& t) {
  return t == "SQLITE_MASTER" || t == "SQLITE_SCHEMA" || t.rfind("PG_", 0) == 0 || t == "INFORMATION_SCHEMA" ||
         t == "DUAL";
}

}  // namespace

namespace {
bool InicioDeLinha(const std::string& f, size_t i) {
  while (i > 0 && (f[i - 1] == ' ' || f[i - 1] == '\t')) --i;
  return i == 0 || f[i - 1] == '\n';
}
}  // namespace

std::vector<TLiteralCpp> LiteraisCpp(const std::string& f) {
  std::vector<TLiteralCpp> r;
  int linha = 1;
  size_t i = 0;
  while (i < f.size()) {
    const char c = f[i];
    if (c == '\n') {
      ++linha;
      ++i;
    } else if ((c == '/' && i + 1 < f.size() && f[i + 1] == '/') || (c == '#' && InicioDeLinha(f, i))) {
      // comentário de linha ou diretiva do pré-processador (#include "host/X.h" não é SQL)
      while (i < f.size() && f[i] != '\n') ++i;
    } else if (c == '/' && i + 1 < f.size() && f[i + 1] == '*') {
      size_t fim = f.find("*/", i + 2);
      fim = fim == std::string::npos ? f.size() : fim + 2;
      for (size_t k = i; k < fim; ++k) linha += f[k] == '\n';
      i = fim;
    } else if (c == '\'') {
      // literal de caractere (ou separador de dígitos: 1'000)
      size_t j = i + 1;
      while (j < f.size() && f[j] != '\'' && f[j] != '\n') j += f[j] == '\\' ? 2 : 1;
      i = j + 1;
    } else if (c == 'R' && i + 1 < f.size() && f[i + 1] == '"' && (i == 0 || !ParteIdent(f[i - 1]))) {
      const size_t abre = f.find('(', i + 2);
      const std::string delim = ")" + f.substr(i + 2, abre - i - 2) + "\"";
      const size_t fim = f.find(delim, abre);
      const std::string texto = f.substr(abre + 1, fim - abre - 1);
      r.push_back({linha, texto});
      for (char k : texto) linha += k == '\n';
      i = fim + delim.size();
    } else if (c == '"') {
      TLiteralCpp lit{linha, ""};
      size_t j = i + 1;
      while (j < f.size() && f[j] != '"') {
        if (f[j] == '\\' && j + 1 < f.size()) {
          const char e = f[j + 1];
          lit.Texto += e == 'n' ? '\n' : e == 't' ? '\t' : e;
          j += 2;
        } else {
          lit.Texto += f[j++];
        }
      }
      r.push_back(std::move(lit));
      i = j + 1;
    } else {
      ++i;
    }
  }
  return r;
}

TResultadoVarredura ConferirSQL(const std::vector<TLiteralCpp>& literais, const std::vector<TTabelaSchema>& esquema) {
  TResultadoVarredura res;
  std::map<std::string, const TTabelaSchema*> porNome;
  for (const auto& t : esquema) porNome[Maiusculas(t.Nome)] = &t;
  auto temColuna = [](const TTabelaSchema* t, const std::string& col) {
    for (const auto& c : t->Colunas)
      if (Maiusculas(c.Nome) == col) return true;
    return false;
  };

  const auto ts = Tokens(literais);
  auto ident = [&](size_t k) { return k < ts.size() && ts[k].Ident; };
  auto up = [&](size_t k) { return Maiusculas(ts[k].Texto); };

  // Tabelas criadas pelo próprio arquivo (temporárias): existem, colunas não conferidas.
  std::set<std::string> criadas;
  for (size_t k = 0; k + 2 < ts.size(); ++k)
    if (ident(k) && up(k) == "CREATE") {
      size_t j = k + 1;
      while (ident(j) && (up(j) == "TEMP" || up(j) == "TEMPORARY" || up(j) == "GLOBAL" || up(j) == "LOCAL")) ++j;
      if (!ident(j) || up(j) != "TABLE") continue;
      ++j;
      if (ident(j) && up(j) == "IF") j += 3;  // IF NOT EXISTS
      if (ident(j)) criadas.insert(up(j));
    }

  // alias -> tabelas (nullptr = desconhecida: subconsulta, tabela formatada, temporária)
  std::map<std::string, std::set<const TTabelaSchema*>> aliases;
  for (size_t k = 0; k + 1 < ts.size(); ++k) {
    if (!ident(k)) continue;
    const std::string kw = up(k);
    if (kw != "FROM" && kw != "JOIN" && kw != "INTO" && kw != "UPDATE") continue;
    // EXTRACT(YEAR FROM x), SUBSTRING(x FROM 1): não é tabela
    if (kw == "FROM" && k >= 2 && ident(k - 1) && ts[k - 2].Texto == "(") continue;
    size_t t = k + 1;
    // a tabela pode vir de uma expressão C++ entre dois literais: " FROM " + tabela + " T "
    const bool atravessou = t < ts.size() && ts[t].Texto == "\n";
    while (t < ts.size() && ts[t].Texto == "\n") ++t;
    if (!ident(t)) continue;  // "FROM (" subconsulta, "FROM {}" e afins
    if (kw == "FROM" && up(t) == "STDIN") continue;  // COPY ... FROM STDIN: a entrada do COPY
    const std::string nome = ts[t].Texto;
    if (atravessou && PalavrasChave().count(up(t)) == 0) {
      bool ehTabela = false;
      for (const auto& e : Expandir(nome)) ehTabela = ehTabela || porNome.count(e) > 0;
      if (!ehTabela) {
        aliases[up(t)].insert(nullptr);  // alias de uma tabela que o texto não mostra
        continue;
      }
    }
    const TTabelaSchema* tabela = nullptr;
    if (!SoMarcador(nome)) {
      const std::string nomeUp = Maiusculas(nome);
      if (TabelaDoSistema(nomeUp) || criadas.count(nomeUp)) {
        // existe, mas as colunas não são conferidas
      } else if (PalavrasChave().count(nomeUp) == 0) {
        ++res.TabelasConferidas;
        for (const auto& e : Expandir(nome))
          if (auto it = porNome.find(e); it != porNome.end()) {
            tabela = it->second;
            break;
          }
        if (!tabela) res.Problemas.push_back({ts[t].Linha, "tabela inexistente: " + nome});
      }
    }
    size_t a = t + 1;
    if (a < ts.size() && ts[a].Texto == "\n") {
      // o nome continua fora do literal (um sufixo, por exemplo): o alias seguinte não é conferido
      while (a < ts.size() && ts[a].Texto == "\n") ++a;
      if (ident(a) && PalavrasChave().count(up(a)) == 0) aliases[up(a)].insert(nullptr);
      if (ident(a + 1) && PalavrasChave().count(up(a + 1)) == 0) aliases[up(a + 1)].insert(nullptr);
      tabela = nullptr;
    } else {
      if (ident(a) && up(a) == "AS") ++a;
      if (ident(a) && PalavrasChave().count(up(a)) == 0 && up(a) != "SET") aliases[up(a)].insert(tabela);
    }
    if (tabela) aliases[Maiusculas(tabela->Nome)].insert(tabela);
    // INSERT INTO T (c1, c2, ...): confere as colunas
    if (kw == "INTO" && tabela && t + 1 < ts.size() && ts[t + 1].Texto == "(") {
      for (size_t j = t + 2; j < ts.size() && ts[j].Texto != ")"; ++j)
        if (ident(j)) {
          ++res.ColunasConferidas;
          if (!temColuna(tabela, up(j)))
            res.Problemas.push_back({ts[j].Linha, "coluna inexistente: " + tabela->Nome + "." + ts[j].Texto});
        }
    }
  }

  // ALIAS.COLUNA
  for (size_t k = 0; k + 2 < ts.size(); ++k) {
    if (!ident(k) || ts[k + 1].Texto != "." || !ident(k + 2)) continue;
    const std::string alias = up(k);
    auto it = aliases.find(alias);
    if (it == aliases.end()) {
      // o próprio nome de uma tabela do esquema, usado como prefixo
      auto t = porNome.find(alias);
      if (t == porNome.end()) continue;
      it = aliases.emplace(alias, std::set<const TTabelaSchema*>{t->second}).first;
    }
    if (it->second.count(nullptr)) continue;
    const std::string coluna = ts[k + 2].Texto;
    // A coluna inteira vem da formatação (LPC.%0:s): só quem formata sabe o nome.
    if (Marcador(coluna, 0) == coluna.size()) continue;
    ++res.ColunasConferidas;
    bool achou = false;
    for (const auto& e : Expandir(coluna))
      for (const auto* t : it->second) achou = achou || temColuna(t, e);
    if (!achou) {
      std::string nomes;
      for (const auto* t : it->second) nomes += (nomes.empty() ? "" : ", ") + t->Nome;
      res.Problemas.push_back({ts[k].Linha, "coluna inexistente: " + ts[k].Texto + "." + coluna + " (" + nomes + ")"});
    }
  }
  return res;
}
