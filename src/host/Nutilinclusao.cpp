#include "host/Nutilinclusao.h"

#include <cctype>
#include <fmt/format.h>

#include "base/Erros.h"
#include "base/Nutil.h"

namespace {

using Nutil::Aparar;

[[noreturn]] void ItemInvalido(const std::string& item, const std::string& texto) {
  throw EEntradaInvalida(fmt::format(
      "Filtro inválido: item \"{}\" em \"{}\" (use números separados por , ou ; e intervalos a-b, ex.: 1,3;5-8)", item,
      texto));
}

bool Numero(const std::string& s, std::string& normalizado) {
  if (s.empty() || s.size() > 18) return false;
  for (char c : s)
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  const auto i = s.find_first_not_of('0');
  normalizado = i == std::string::npos ? "0" : s.substr(i);
  return true;
}

// Colunas vêm do sistema, mas conferimos: nome, nome.qualificado ou expressão simples.
void ConferirColuna(const std::string& c) {
  if (Aparar(c).empty()) throw EEntradaInvalida("Filtro sem coluna");
  for (char ch : c)
    if (!(std::isalnum(static_cast<unsigned char>(ch)) || std::string_view("_.,() ").find(ch) != std::string_view::npos))
      throw EEntradaInvalida(fmt::format("Coluna inválida no filtro: \"{}\"", c));
}

}  // namespace

namespace Nutilinclusao {

std::string FilterInterval(const std::vector<std::string>& AColunas, const std::string& ATexto,
                           const std::vector<TnpqTypeInclusionExV>& ATipos, bool AComAnd, int ATipoValor) {
  if (ATipoValor != kFiltroNumero && ATipoValor != kFiltroTexto)
    throw EEntradaInvalida(fmt::format("Tipo de filtro desconhecido: {}", ATipoValor));
  // Separa os itens; vazios (brancos, separadores repetidos) são ignorados.
  std::vector<std::string> itens;
  std::string atual;
  for (char c : ATexto + ",") {
    if (c == ',' || c == ';') {
      const std::string t = Aparar(atual);
      if (!t.empty()) itens.push_back(t);
      atual.clear();
    } else {
      atual += c;
    }
  }
  if (itens.empty()) return "";
  if (AColunas.empty()) throw EEntradaInvalida("Filtro sem coluna");

  std::vector<std::string> unicos;
  std::vector<std::pair<std::string, std::string>> intervalos;
  for (const auto& item : itens) {
    if (ATipoValor == kFiltroTexto) {
      for (unsigned char c : item)
        if (c < 0x20) ItemInvalido(item, ATexto);
      unicos.push_back(Nutil::ValorParaSQL(item));
      continue;
    }
    std::string a, b;
    const auto traco = item.find('-');
    if (traco == std::string::npos) {
      if (!Numero(item, a)) ItemInvalido(item, ATexto);
      unicos.push_back(a);
    } else {
      if (!Numero(Aparar(item.substr(0, traco)), a) || !Numero(Aparar(item.substr(traco + 1)), b)) ItemInvalido(item, ATexto);
      if (a.size() > b.size() || (a.size() == b.size() && a > b))
        throw EEntradaInvalida(fmt::format("Filtro inválido: intervalo \"{}\" em \"{}\" começa depois de terminar", item, ATexto));
      intervalos.emplace_back(a, b);
    }
  }

  std::string condicao;
  for (size_t k = 0; k < AColunas.size(); ++k) {
    const std::string& col = AColunas[k];
    ConferirColuna(col);
    std::vector<std::string> partes;
    if (unicos.size() == 1) partes.push_back(col + " = " + unicos[0]);
    else if (unicos.size() > 1) {
      std::string lista;
      for (const auto& u : unicos) lista += (lista.empty() ? "" : ", ") + u;
      partes.push_back(col + " IN (" + lista + ")");
    }
    for (const auto& [a, b] : intervalos) partes.push_back(col + " BETWEEN " + a + " AND " + b);
    std::string c;
    for (const auto& p : partes) c += (c.empty() ? "" : " OR ") + p;
    if (partes.size() > 1) c = "(" + c + ")";
    const TnpqTypeInclusionExV tipo = k < ATipos.size() ? ATipos[k] : (ATipos.empty() ? tiExInclusao : ATipos.back());
    if (tipo == tiExExclusao) c = "NOT " + (partes.size() > 1 ? c : "(" + c + ")");
    condicao += (condicao.empty() ? "" : " AND ") + c;
  }
  if (AColunas.size() > 1) condicao = "(" + condicao + ")";
  return (AComAnd ? " AND " : "") + condicao + " ";
}

}  // namespace Nutilinclusao
