#include "blocom/control/nFisEFDGeradorBlocoMConfig_U.h"

#include <charconv>

#include "base/DateTime.h"
#include "host/OpcaoEFD.h"

int32_t EstabComoInteiro(const std::string& ATexto, int32_t APadrao) {
  // Aceita brancos em volta, como a conversão do runtime do host.
  size_t ini = ATexto.find_first_not_of(" \t");
  size_t fim = ATexto.find_last_not_of(" \t");
  if (ini == std::string::npos) return APadrao;
  const char* p = ATexto.data() + ini;
  const char* e = ATexto.data() + fim + 1;
  if (*p == '+') ++p;
  int32_t v = 0;
  auto [ptr, ec] = std::from_chars(p, e, v);
  if (ec != std::errc() || ptr != e) return APadrao;
  return v;
}

std::string TConfigBlocoM::ToString() const {
  std::string s;
  s += "CodigoEmpresa: " + std::to_string(CodigoEmpresa) + "\r\n";
  s += "CodigoEstab: " + CodigoEstab + "\r\n";
  s += "CodigoEstabExtraApuracao: " + CodigoEstabExtraApuracao + "\r\n";
  s += "DataInicial: " + FormatDateTime("dd-mm-yyyy", DataInicial) + "\r\n";
  s += "DataFinal: " + FormatDateTime("dd-mm-yyyy", DataFinal) + "\r\n";
  s += std::string("RegimeCaixa: ") + (RegimeCaixa ? "True" : "False") + "\r\n";
  s += "ModoGeracao: " + std::to_string(static_cast<int>(ModoGeracao)) + "\r\n";
  s += "IndNatPessoaJurid: " + IndNatPessoaJurid;
  return s;
}

namespace {
// As operações de opção da configuração posicionam o objeto de opções da EFD antes de ler.
TnUtilOpcaoEFD& OpcoesDa(const TConfigBlocoM& c) {
  auto& op = ControleOpcaoEFD();
  op.SetCodigoEmpresa(c.CodigoEmpresa);
  op.SetCodigoEstab(EstabComoInteiro(c.CodigoEstab));
  return op;
}
}  // namespace

bool TConfigBlocoM::GetTemEstabSCPAtivo() const { return OpcoesDa(*this).GetTemEstabSCPAtivo(DataInicial, DataFinal); }

std::string TConfigBlocoM::GetFiltroListaEstabSCP(const std::string& APrefixo) const {
  return OpcoesDa(*this).GetFiltroListaEstabSCP(DataInicial, DataFinal, APrefixo);
}

TDateTime TConfigBlocoM::GetUltimoPeriodoApuradoComSldSCPNaOstensiva() const {
  return OpcoesDa(*this).GetUltimoPeriodoApuradoComSldSCPNaOstensiva();
}

bool TConfigBlocoM::ApurTemSldSCPNaOstensiva() const {
  return CompararDias(GetUltimoPeriodoApuradoComSldSCPNaOstensiva(), DataInicial) >= 0;
}
