#include "host/FiltroEstab.h"

#include <charconv>
#include <cctype>
#include <vector>

#include "host/Erros.h"
#include "host/FisFuncoes.h"

namespace {

std::string Aparar(const std::string& ATexto) {
  size_t i = ATexto.find_first_not_of(" \t");
  if (i == std::string::npos) return "";
  size_t f = ATexto.find_last_not_of(" \t");
  return ATexto.substr(i, f - i + 1);
}

bool LerInteiro(const std::string& ATexto, long long& AValor) {
  std::string t = Aparar(ATexto);
  if (t.empty()) return false;
  auto [p, ec] = std::from_chars(t.data(), t.data() + t.size(), AValor);
  return ec == std::errc() && p == t.data() + t.size();
}

}  // namespace

std::string CondicaoEstabelecimentos(const std::string& AColuna, const std::string& ATexto) {
  ValidarNomeColuna(AColuna);
  std::vector<std::string> partes;
  std::string item;
  auto erro = [&]() {
    return EEntradaInvalida("Estabelecimento inválido: \"" + ATexto +
                            "\" (use números, faixas a-b, separados por ',' ou ';')");
  };
  auto fechar = [&]() {
    std::string t;
    for (char c : item)
      if (!std::isspace(static_cast<unsigned char>(c))) t += c;
    item.clear();
    if (t.empty()) return;
    size_t traco = t.find('-', 1);
    long long a = 0, b = 0;
    if (traco == std::string::npos) {
      if (!LerInteiro(t, a) || a < 0) throw erro();
      partes.push_back(AColuna + " = " + std::to_string(a));
    } else {
      if (!LerInteiro(t.substr(0, traco), a) || !LerInteiro(t.substr(traco + 1), b) || a < 0 || b < a)
        throw erro();
      partes.push_back(AColuna + " BETWEEN " + std::to_string(a) + " AND " + std::to_string(b));
    }
  };
  for (char c : ATexto) {
    if (c == ',' || c == ';') fechar();
    else item += c;
  }
  fechar();
  if (partes.empty()) return "";
  std::string r = "(";
  for (size_t i = 0; i < partes.size(); ++i) r += (i ? " OR " : "") + partes[i];
  return r + ")";
}

bool TnArqRepositorioSPEDPisCofinsFiltroEstab::EhEstabInclusion(const std::string& ACodigoEstab) {
  long long v = 0;
  return !LerInteiro(ACodigoEstab, v) || v == 0;
}

std::string TnArqRepositorioSPEDPisCofinsFiltroEstab::GetFiltroEstab(const std::string& AAlias,
                                                                     const std::string& ACodigoEstab,
                                                                     bool AForcarInclusao) {
  std::string coluna = AAlias.empty() ? "CODIGOESTAB" : AAlias + ".CODIGOESTAB";
  ValidarNomeColuna(coluna);
  if (AForcarInclusao || EhEstabInclusion(ACodigoEstab)) {
    std::string cond = CondicaoEstabelecimentos(coluna, Aparar(ACodigoEstab));
    return cond.empty() ? "" : " and " + cond + " ";
  }
  return " and " + coluna + " = :" + ParametroEstab + " ";
}

std::string TnArqRepositorioSPEDPisCofinsFiltroEstab::GetFiltroEstab(const std::string& ACodigoEmpresa,
                                                                     const std::string& AAlias,
                                                                     const std::string& ACodigoEstab,
                                                                     int ATipoMovimento, bool AForcarInclusao,
                                                                     bool AEstabSCP) {
  long long empresa = 0;
  if (!LerInteiro(ACodigoEmpresa, empresa))
    throw EEntradaInvalida("Código de empresa inválido no filtro de estabelecimento: \"" + ACodigoEmpresa + "\"");
  if (!AEstabSCP || ATipoMovimento == 0) return GetFiltroEstab(AAlias, ACodigoEstab, AForcarInclusao);
  std::string prefixo = AAlias.empty() ? "" : AAlias + ".";
  std::string estab = prefixo + "CODIGOESTAB", scp = prefixo + "CODIGOESTABSCP";
  ValidarNomeColuna(estab);
  // Saídas da SCP: as do próprio estabelecimento e as que a ostensiva lançou em nome dela.
  if (AForcarInclusao || EhEstabInclusion(ACodigoEstab)) {
    std::string c1 = CondicaoEstabelecimentos(estab, Aparar(ACodigoEstab));
    if (c1.empty()) return "";
    std::string c2 = CondicaoEstabelecimentos(scp, Aparar(ACodigoEstab));
    return " and ((" + c1 + " and " + scp + " is null) or " + c2 + ") ";
  }
  std::string p = std::string(":") + ParametroEstab;
  return " and ((" + estab + " = " + p + " and " + scp + " is null) or " + scp + " = " + p + ") ";
}
