#include "host/FiltroEstab.h"

#include <charconv>
#include <cctype>
#include <vector>

#include "base/Erros.h"
#include "host/FisFuncoes.h"
#include "host/Nutilinclusao.h"
#include "base/Nutil.h"

namespace {

using Nutil::Aparar;

bool LerInteiro(const std::string& ATexto, long long& AValor) {
  std::string t = Aparar(ATexto);
  if (t.empty()) return false;
  auto [p, ec] = std::from_chars(t.data(), t.data() + t.size(), AValor);
  return ec == std::errc() && p == t.data() + t.size();
}

}  // namespace

std::string CondicaoEstabelecimentos(const std::string& AColuna, const std::string& ATexto) {
  ValidarNomeColuna(AColuna);
  std::string c = Nutilinclusao::FilterInterval({AColuna}, ATexto, {tiExInclusao}, false, kFiltroNumero);
  while (!c.empty() && c.back() == ' ') c.pop_back();
  // Sempre entre parênteses: quem chama junta com AND e OR.
  if (!c.empty() && !(c.front() == '(' && c.back() == ')')) c = "(" + c + ")";
  return c;
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
