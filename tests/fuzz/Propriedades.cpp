#include "fuzz/Propriedades.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>
#include <set>
#include <vector>

#include "base/DateTime.h"
#include "base/Erros.h"
#include "base/Format.h"
#include "base/Periodo.h"
#include "host/Nutilinclusao.h"
#include "host/SQLParams.h"
#include "cenarios/runner/LeitorCenario.h"

namespace {

std::string Maiusculas(std::string s) {
  for (auto& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

std::string Aparar(const std::string& s) {
  const auto i = s.find_first_not_of(" \t\r\n");
  return i == std::string::npos ? "" : s.substr(i, s.find_last_not_of(" \t\r\n") - i + 1);
}

bool Digitos(const std::string& s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Sem zeros à esquerda, para comparar inteiros de qualquer tamanho como texto.
std::string SemZeros(const std::string& s) {
  const auto i = s.find_first_not_of('0');
  return i == std::string::npos ? "0" : s.substr(i);
}

// Itens não brancos da notação de filtro, separados por ',' ou ';'.
std::vector<std::string> Itens(const std::string& texto) {
  std::vector<std::string> r;
  std::string atual;
  for (char c : texto + ",") {
    if (c == ',' || c == ';') {
      if (!Aparar(atual).empty()) r.push_back(Aparar(atual));
      atual.clear();
    } else {
      atual += c;
    }
  }
  return r;
}

// Número (até 18 dígitos) ou intervalo a-b com a <= b.
bool ItemNumericoValido(const std::string& item) {
  const auto traco = item.find('-');
  if (traco == std::string::npos) return Digitos(item) && item.size() <= 18;
  const std::string a = Aparar(item.substr(0, traco)), b = Aparar(item.substr(traco + 1));
  if (!Digitos(a) || !Digitos(b) || a.size() > 18 || b.size() > 18) return false;
  const std::string na = SemZeros(a), nb = SemZeros(b);
  return na.size() < nb.size() || (na.size() == nb.size() && na <= nb);
}

// Conteúdo dos literais '...' de uma condição, com as aspas dobradas desfeitas.
std::vector<std::string> Literais(const std::string& sql) {
  std::vector<std::string> r;
  for (size_t i = 0; i < sql.size(); ++i) {
    if (sql[i] != '\'') continue;
    std::string v;
    for (++i; i < sql.size(); ++i) {
      if (sql[i] == '\'') {
        if (i + 1 < sql.size() && sql[i + 1] == '\'') {
          v += '\'';
          ++i;
          continue;
        }
        break;
      }
      v += sql[i];
    }
    r.push_back(v);
  }
  return r;
}

int DiasNoMes(int a, int m) {
  static const int dias[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool bissexto = a % 4 == 0 && (a % 100 != 0 || a % 400 == 0);
  return m == 2 && bissexto ? 29 : dias[m - 1];
}

// "AAAA-MM-DD" válida nos 10 primeiros caracteres, seguida de nada, de ' ' ou de 'T'.
bool DataISOValida(const std::string& t) {
  if (t.size() < 10 || t[4] != '-' || t[7] != '-') return false;
  if (!Digitos(t.substr(0, 4)) || !Digitos(t.substr(5, 2)) || !Digitos(t.substr(8, 2))) return false;
  if (t.size() > 10 && t[10] != ' ' && t[10] != 'T') return false;
  const int a = std::stoi(t.substr(0, 4)), m = std::stoi(t.substr(5, 2)), d = std::stoi(t.substr(8, 2));
  return a >= 1 && m >= 1 && m <= 12 && d >= 1 && d <= DiasNoMes(a, m);
}

}  // namespace

// 1. As ocorrências de :NOME vêm em ordem, sem sobrepor, dentro do texto, começando por ':';
//    o nome é o texto da ocorrência em maiúsculas; os nomes são distintos, na ordem da
//    primeira ocorrência, e todos ocorrem.
// 2. Trocar os nomes pelos marcadores de cada dialeto não deixa nome nenhum.
// 3. ConferirQuantidadeParametros aceita a quantidade de nomes e recusa uma a mais.
// 4. A reescrita de CAST não muda os nomes (ou recusa aninhamento excessivo com EBancoDados);
//    sem "CAST" no texto, não muda nada.
std::string PropriedadesParametros(const std::string& sql) {
  const TSQLAnalisado a = AnalisarParametros(sql);
  size_t fim = 0, novos = 0;
  for (const auto& o : a.Ocorrencias) {
    if (o.Inicio < fim || o.Tamanho < 2 || o.Inicio + o.Tamanho > sql.size() || sql[o.Inicio] != ':')
      return "ocorrência fora de ordem, sobreposta ou fora do texto";
    if (o.Indice < 0 || static_cast<size_t>(o.Indice) > novos || static_cast<size_t>(o.Indice) >= a.Nomes.size())
      return "índice de nome fora da ordem da primeira ocorrência";
    if (static_cast<size_t>(o.Indice) == novos) ++novos;
    if (Maiusculas(sql.substr(o.Inicio + 1, o.Tamanho - 1)) != a.Nomes[static_cast<size_t>(o.Indice)])
      return "nome difere do texto da ocorrência";
    fim = o.Inicio + o.Tamanho;
  }
  if (novos != a.Nomes.size() || std::set<std::string>(a.Nomes.begin(), a.Nomes.end()).size() != a.Nomes.size())
    return "nomes repetidos ou sem ocorrência";
  for (TDialeto d : {TDialeto::dSQLite, TDialeto::dPostgreSQL})
    if (!AnalisarParametros(TrocarParametros(sql, a, d)).Nomes.empty()) return "sobrou nome depois da troca por marcadores";
  ConferirQuantidadeParametros(a, a.Nomes.size(), sql);
  try {
    ConferirQuantidadeParametros(a, a.Nomes.size() + 1, sql);
    return "quantidade errada de valores aceita";
  } catch (const EBancoDados&) {
  }
  try {
    const std::string r = AdaptarCastNumeric(sql);
    if (AnalisarParametros(r).Nomes != a.Nomes) return "a reescrita de CAST mudou os parâmetros";
    if (Maiusculas(sql).find("CAST") == std::string::npos && r != sql) return "reescrita sem CAST no texto";
  } catch (const EBancoDados&) {
  }
  return "";
}

// Números (estabelecimentos):
// 1. Aceita exatamente quando todo item não branco é um número de até 18 dígitos ou um
//    intervalo a-b com a <= b; texto sem itens dá condição vazia.
// 2. A condição começa por " AND ", termina em espaço e só tem a coluna, dígitos e as
//    palavras e sinais da condição.
// Textos (números de processo):
// 3. Recusa só item com caractere de controle.
// 4. Cada item vira exatamente um literal, igual ao item (aspas desfeitas), na ordem; fora
//    dos literais não há ';', comentário nem :NOME.
std::string PropriedadesFilterInterval(const std::string& texto) {
  const std::vector<std::string> itens = Itens(texto);
  const bool numerosValidos = std::all_of(itens.begin(), itens.end(), ItemNumericoValido);
  try {
    const std::string r = FilterInterval({"L.CODIGOESTAB"}, texto);
    if (!numerosValidos) return "filtro numérico aceitou item inválido";
    if (r.empty() != itens.empty()) return "condição vazia com itens (ou o contrário)";
    if (!r.empty()) {
      if (r.rfind(" AND ", 0) != 0 || r.back() != ' ') return "condição sem \" AND \" no início ou espaço no fim";
      std::string resto = r;
      for (const std::string palavra : {"L.CODIGOESTAB", "BETWEEN", "AND", "OR", "IN"})
        for (size_t p; (p = resto.find(palavra)) != std::string::npos;) resto.replace(p, palavra.size(), " ");
      for (char c : resto)
        if (!std::isdigit(static_cast<unsigned char>(c)) && std::string_view(" (),=").find(c) == std::string_view::npos)
          return "caractere estranho na condição numérica";
    }
  } catch (const EEntradaInvalida&) {
    if (numerosValidos) return "filtro numérico recusou texto válido";
  }
  const bool controle = std::any_of(itens.begin(), itens.end(), [](const std::string& i) {
    return std::any_of(i.begin(), i.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; });
  });
  try {
    const std::string r = FilterInterval({"SUBSTR(NUMPROCREF, 1, 20)"}, texto, {tiExInclusao}, true, kFiltroTexto);
    if (controle) return "filtro de texto aceitou caractere de controle";
    if (Literais(r) != itens) return "os literais da condição não são os itens do texto";
    if (TemSeparadorOuComentario(r)) return "';' ou comentário fora dos literais";
    if (!AnalisarParametros(r).Nomes.empty()) return ":NOME fora dos literais";
  } catch (const EEntradaInvalida&) {
    if (!controle) return "filtro de texto recusou item sem caractere de controle";
  }
  return "";
}

// A entrada é o formato; os argumentos são fixos e cobrem todos os tipos e extremos.
// 1. Ou devolve o texto ou lança EConversao.
// 2. Formato sem '%' sai igual.
// 3. Com cada '%' dobrado, qualquer texto sai igual ao original.
// 4. Cada marca produz no máximo 2000 bytes (largura e precisão têm limite).
std::string PropriedadesFormat(const std::string& formato) {
  static const TParams args = {int64_t{-42},
                               3.14159,
                               std::string("ab'c%d"),
                               true,
                               VarNull(),
                               VarDate(45000),
                               std::numeric_limits<int64_t>::min(),
                               std::numeric_limits<int64_t>::max(),
                               1e308,
                               -0.0,
                               std::numeric_limits<double>::quiet_NaN(),
                               -std::numeric_limits<double>::infinity(),
                               std::string(300, 'x'),
                               int64_t{7},
                               5e-324};
  const size_t marcas = static_cast<size_t>(std::count(formato.begin(), formato.end(), '%'));
  try {
    const std::string r = Format(formato, args);
    if (marcas == 0 && r != formato) return "formato sem marca mudou";
    if (r.size() > formato.size() + 2000 * marcas) return "saída grande demais para as marcas";
  } catch (const EConversao&) {
    if (marcas == 0) return "formato sem marca recusado";
  }
  std::string dobrado;
  for (char c : formato) dobrado += c == '%' ? "%%" : std::string(1, c);
  if (Format(dobrado, {}) != formato) return "\"%%\" não devolveu o texto original";
  return "";
}

// A entrada são até três linhas: competência, início, fim (como --competencia, --inicio, --fim).
// 1. Aceita exatamente quando a competência é "AAAA-MM" válida, ou, sem competência, início e
//    fim são datas "AAAA-MM-DD" válidas com o fim não anterior ao início.
// 2. Só lança EConversao (texto inválido) ou EEntradaInvalida (fim antes do início).
// 3. Aceito, o período é de dias inteiros: a competência vai do dia 1 ao último dia do mês;
//    início e fim são as datas do texto.
std::string PropriedadesPeriodo(const std::string& entrada) {
  std::string campos[3];
  for (size_t i = 0, k = 0; i < entrada.size(); ++i) {
    if (entrada[i] == '\n' && k < 2) ++k;
    else campos[k] += entrada[i];
  }
  const std::string &comp = campos[0], &ini = campos[1], &fim = campos[2];
  const bool compValida = comp.size() == 7 && DataISOValida(comp + "-01");
  const bool datasValidas = DataISOValida(ini) && DataISOValida(fim);
  const bool ordemValida = datasValidas && ini.substr(0, 10) <= fim.substr(0, 10);
  const bool valido = comp.empty() ? ordemValida : compValida;
  TDateTime di = -1, df = -1;
  try {
    PeriodoInformado(comp, ini, fim, di, df);
  } catch (const EEntradaInvalida&) {
    if (!comp.empty() || !datasValidas || ordemValida) return "EEntradaInvalida fora do caso de fim antes do início";
    return "";
  } catch (const EConversao&) {
    if (valido || (comp.empty() && datasValidas)) return "EConversao com texto válido";
    return "";
  }
  if (!valido) return "período inválido aceito";
  if (di != std::floor(di) || df != std::floor(df) || df < di) return "período com hora ou invertido";
  if (comp.empty()) {
    if (DataISO(di) != ini.substr(0, 10) || DataISO(df) != fim.substr(0, 10)) return "datas diferentes do texto";
  } else {
    const int a = std::stoi(comp.substr(0, 4)), m = std::stoi(comp.substr(5, 2));
    if (DataISO(di) != comp + "-01" || DataISO(df) != comp + "-" + std::to_string(DiasNoMes(a, m)))
      return "competência não vai do dia 1 ao último dia do mês";
  }
  return "";
}

// Leitor de cenários: (1) só ECenarioInvalido escapa, com a mensagem "f.cenario:N: " e N entre
// 1 e o número de linhas + 1; (2) lido duas vezes, dá o mesmo resultado; (3) cada passo aponta
// uma linha do texto e todo comando tem argumentos; (4) argumentos sem espaço nem aspas,
// juntos por um espaço e separados de novo, voltam iguais.
std::string PropriedadesCenario(const std::string& AEntrada) {
  const int linhas = static_cast<int>(std::count(AEntrada.begin(), AEntrada.end(), '\n')) + 1;
  TCenario c;
  try {
    c = LerCenario("f.cenario", AEntrada);
  } catch (const ECenarioInvalido& e) {
    const std::string m = e.what();
    if (m.rfind("f.cenario:", 0) != 0) return "erro sem o nome do arquivo: " + m;
    const auto fim = m.find(": ", 10);
    if (fim == std::string::npos || fim == 10) return "erro sem a linha: " + m;
    const std::string n = m.substr(10, fim - 10);
    if (n.find_first_not_of("0123456789") != std::string::npos || n.size() > 9) return "linha não numérica: " + m;
    const int linha = std::stoi(n);
    if (linha < 1 || linha > linhas + 1) return "linha fora do texto: " + m;
    return "";
  }
  const TCenario d = LerCenario("f.cenario", AEntrada);
  if (d.Nome != c.Nome || d.Descricao != c.Descricao || d.Passos.size() != c.Passos.size())
    return "leitura não determinística";
  for (const auto& p : c.Passos) {
    if (p.Linha < 1 || p.Linha > linhas) return "passo fora do texto";
    if (p.Tipo == TPassoCenario::TTipo::tpComando && p.Argumentos.empty()) return "comando sem argumentos";
    std::string junto;
    bool simples = true;
    for (const auto& a : p.Argumentos) {
      if (a.empty() || a.find_first_of(" \t\"") != std::string::npos) simples = false;
      junto += (junto.empty() ? "" : " ") + a;
    }
    if (simples && SepararArgumentos(junto) != p.Argumentos) return "argumentos não voltam iguais";
  }
  return "";
}

TPropriedades PropriedadesDoAlvo(std::string_view AAlvo) {
  static const std::pair<std::string_view, TPropriedades> alvos[] = {
      {"FuzzParametros", PropriedadesParametros},
      {"FuzzFilterInterval", PropriedadesFilterInterval},
      {"FuzzFormat", PropriedadesFormat},
      {"FuzzPeriodo", PropriedadesPeriodo},
      {"FuzzCenario", PropriedadesCenario},
  };
  for (const auto& [nome, props] : alvos)
    if (nome == AAlvo) return props;
  return nullptr;
}
