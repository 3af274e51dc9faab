#include "host/SQLParams.h"

#include <cctype>
#include <fmt/format.h>
#include <strings.h>

#include "base/Erros.h"
#include "base/Nutil.h"

namespace {

bool InicioNome(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool ParteNome(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// Se em s[i] começa um literal, identificador entre aspas ou comentário, devolve a posição
// logo depois dele; senão devolve i. Trechos sem fim vão até o fim do texto.
size_t PularNaoCodigo(const std::string& s, size_t i) {
  const size_t n = s.size();
  const char c = s[i];
  if (c == '\'' || c == '"') {
    size_t j = i + 1;
    while (j < n) {
      if (s[j] == c) {
        if (j + 1 < n && s[j + 1] == c) {
          j += 2;  // aspas dobradas
          continue;
        }
        return j + 1;
      }
      ++j;
    }
    return n;
  }
  if (c == '-' && i + 1 < n && s[i + 1] == '-') {
    const size_t f = s.find('\n', i + 2);
    return f == std::string::npos ? n : f + 1;
  }
  if (c == '/' && i + 1 < n && s[i + 1] == '*') {
    const size_t f = s.find("*/", i + 2);
    return f == std::string::npos ? n : f + 2;
  }
  return i;
}

// Como PularNaoCodigo, mas pula também "::" e um :NOME inteiro. A reescrita de CAST e
// AnalisarParametros cortam o texto por aqui: senão ":CAST(" viraria ":PISCO_NUMERIC(" e o
// ":AS" de "x:AS NUMERIC(5)" sumiria.
size_t PularTrecho(const std::string& s, size_t i) {
  const size_t j = PularNaoCodigo(s, i);
  if (j != i || s[i] != ':' || i + 1 >= s.size()) return j;
  if (s[i + 1] == ':') return i + 2;
  if (!InicioNome(s[i + 1])) return i;
  size_t f = i + 2;
  while (f < s.size() && ParteNome(s[f])) ++f;
  return f;
}

std::string Maiusculas(std::string s) {
  for (auto& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

using Nutil::Aparar;

bool PalavraEm(const std::string& s, size_t i, const char* palavra) {
  const size_t n = std::char_traits<char>::length(palavra);
  if (i + n > s.size() || strncasecmp(s.data() + i, palavra, n) != 0) return false;
  if (i > 0 && ParteNome(s[i - 1])) return false;
  return i + n == s.size() || !ParteNome(s[i + n]);
}

// Procura o ')' que fecha o '(' em s[abre]; npos se não fechar.
size_t FechaParenteses(const std::string& s, size_t abre) {
  int nivel = 0;
  for (size_t i = abre; i < s.size();) {
    const size_t j = PularTrecho(s, i);
    if (j != i) {
      i = j;
      continue;
    }
    if (s[i] == '(') ++nivel;
    else if (s[i] == ')' && --nivel == 0) return i;
    ++i;
  }
  return std::string::npos;
}

// Reconhece "NUMERIC(p,s)", "NUMERIC(p)" ou "DECIMAL(...)"; devolve a escala ou -1.
int EscalaNumeric(const std::string& tipo) {
  std::string t = Maiusculas(Aparar(tipo));
  size_t i;
  if (t.rfind("NUMERIC", 0) == 0) i = 7;
  else if (t.rfind("DECIMAL", 0) == 0) i = 7;
  else return -1;
  auto pular = [&] { while (i < t.size() && std::isspace(static_cast<unsigned char>(t[i]))) ++i; };
  auto numero = [&](int& v) {
    pular();
    const size_t ini = i;
    v = 0;
    while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i])) && i - ini < 3) v = v * 10 + (t[i++] - '0');
    return i > ini;
  };
  pular();
  if (i >= t.size() || t[i] != '(') return -1;
  ++i;
  int p = 0, e = 0;
  if (!numero(p)) return -1;
  pular();
  if (i < t.size() && t[i] == ',') {
    ++i;
    if (!numero(e)) return -1;
    pular();
  }
  if (i >= t.size() || t[i] != ')') return -1;
  ++i;
  pular();
  return i == t.size() && e <= p ? e : -1;
}

std::string Reescrever(const std::string& s, int profundidade) {
  if (profundidade > 200) throw EBancoDados("SQL com aninhamento excessivo de CAST");
  std::string r;
  r.reserve(s.size() + 16);
  size_t i = 0;
  while (i < s.size()) {
    const size_t j = PularTrecho(s, i);
    if (j != i) {
      r.append(s, i, j - i);
      i = j;
      continue;
    }
    if (PalavraEm(s, i, "CAST")) {
      size_t k = i + 4;
      while (k < s.size() && std::isspace(static_cast<unsigned char>(s[k]))) ++k;
      if (k < s.size() && s[k] == '(') {
        const size_t f = FechaParenteses(s, k);
        if (f != std::string::npos) {
          const std::string dentro = s.substr(k + 1, f - k - 1);
          // último AS no nível zero separa expressão e tipo
          size_t as = std::string::npos;
          int nivel = 0;
          for (size_t m = 0; m < dentro.size();) {
            const size_t q = PularTrecho(dentro, m);
            if (q != m) {
              m = q;
              continue;
            }
            if (dentro[m] == '(') ++nivel;
            else if (dentro[m] == ')') --nivel;
            else if (nivel == 0 && PalavraEm(dentro, m, "AS")) as = m;
            ++m;
          }
          if (as != std::string::npos) {
            const std::string expr = Reescrever(dentro.substr(0, as), profundidade + 1);
            const std::string tipo = dentro.substr(as + 2);
            const int escala = EscalaNumeric(tipo);
            if (escala >= 0) r += fmt::format("PISCO_NUMERIC({}, {})", expr, escala);
            else r += s.substr(i, k - i) + "(" + expr + "AS" + tipo + ")";
          } else {
            r += s.substr(i, k - i) + "(" + Reescrever(dentro, profundidade + 1) + ")";
          }
          i = f + 1;
          continue;
        }
      }
    }
    r += s[i++];
  }
  return r;
}

}  // namespace

TSQLAnalisado AnalisarParametros(const std::string& ASQL) {
  TSQLAnalisado a;
  const std::string& s = ASQL;
  size_t i = 0;
  while (i < s.size()) {
    const size_t f = PularTrecho(s, i);
    if (f == i) {
      ++i;
      continue;
    }
    // o mesmo corte de PularTrecho: ":NOME" é parâmetro; "::" (conversão de tipo) e
    // literais/comentários não são
    if (s[i] == ':' && s[i + 1] != ':') {
      const std::string nome = Maiusculas(s.substr(i + 1, f - i - 1));
      int indice = -1;
      for (size_t k = 0; k < a.Nomes.size(); ++k)
        if (a.Nomes[k] == nome) indice = static_cast<int>(k);
      if (indice < 0) {
        indice = static_cast<int>(a.Nomes.size());
        a.Nomes.push_back(nome);
      }
      a.Ocorrencias.push_back({i, f - i, indice});
    }
    i = f;
  }
  return a;
}

std::string TrocarParametros(const std::string& ASQL, const TSQLAnalisado& AAnalise, TDialeto ADialeto) {
  std::string r;
  r.reserve(ASQL.size() + 8);
  size_t pos = 0;
  for (const auto& o : AAnalise.Ocorrencias) {
    r.append(ASQL, pos, o.Inicio - pos);
    r += (ADialeto == TDialeto::dSQLite ? "?" : "$") + std::to_string(o.Indice + 1);
    pos = o.Inicio + o.Tamanho;
  }
  r.append(ASQL, pos, std::string::npos);
  return r;
}

void ConferirQuantidadeParametros(const TSQLAnalisado& AAnalise, size_t AValores, const std::string& ASQL) {
  if (AAnalise.Nomes.size() == AValores) return;
  std::string nomes;
  for (const auto& n : AAnalise.Nomes) nomes += (nomes.empty() ? ":" : ", :") + n;
  throw EBancoDados(fmt::format(
      "Quantidade de parâmetros incorreta: o SQL espera {} ({}) e foram informados {} valores. SQL: {}",
      AAnalise.Nomes.size(), nomes.empty() ? "nenhum" : nomes, AValores, InicioSQL(ASQL)));
}

std::string AdaptarCastNumeric(const std::string& ASQL) { return Reescrever(ASQL, 0); }

std::string InicioSQL(const std::string& ASQL, size_t ATamanho) {
  std::string r;
  bool espaco = false;
  for (char c : ASQL) {
    if (std::isspace(static_cast<unsigned char>(c))) {
      espaco = !r.empty();
      continue;
    }
    if (espaco) r += ' ';
    espaco = false;
    r += c;
    if (r.size() >= ATamanho) return r + "...";
  }
  return r;
}

bool TemSeparadorOuComentario(const std::string& ATexto) {
  const std::string& s = ATexto;
  for (size_t i = 0; i < s.size();) {
    if (s[i] == '\'' || s[i] == '"') {
      const char q = s[i];
      size_t j = i + 1;
      for (;; ++j) {
        if (j >= s.size()) return true;  // literal sem fim
        if (s[j] == q) {
          if (j + 1 < s.size() && s[j + 1] == q) {
            ++j;
            continue;
          }
          break;
        }
      }
      i = j + 1;
      continue;
    }
    if (s[i] == ';') return true;
    if (i + 1 < s.size() && ((s[i] == '-' && s[i + 1] == '-') || (s[i] == '/' && s[i + 1] == '*'))) return true;
    ++i;
  }
  return false;
}
