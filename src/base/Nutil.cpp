#include "base/Nutil.h"

#include <cmath>
#include <fmt/format.h>

#include "base/Decimal.h"

namespace Nutil {

double RoundValor(double AValor, int ACasas) {
  if (!std::isfinite(AValor)) return AValor;
  return Decimal::TextoParaDouble(Decimal::ArredondarTexto(AValor, ACasas));
}

double RoundValorBcd(double AValor, int ACasas) {
  // O texto de 15 dígitos já é o valor decimal exato que se quer arredondar; as duas
  // funções coincidem de propósito (o servidor converte double em numeric do mesmo modo).
  return RoundValor(AValor, ACasas);
}

double Dividir(double ADividendo, double ADivisor) {
  if (ADivisor == 0 || !std::isfinite(ADivisor)) return 0;
  const double r = ADividendo / ADivisor;
  return std::isfinite(r) ? r : 0;
}

namespace {
std::string Aspas(const std::string& s) {
  std::string r = "'";
  for (char c : s) {
    if (c == '\'') r += '\'';
    r += c;
  }
  return r + "'";
}
}  // namespace

std::string ValorParaSQL(const TVariant& AValor) {
  struct V {
    std::string operator()(std::monostate) const { return "NULL"; }
    std::string operator()(int64_t i) const { return std::to_string(i); }
    std::string operator()(double d) const {
      if (!std::isfinite(d)) return "NULL";
      return Decimal::TextoCurto(d);
    }
    std::string operator()(const std::string& s) const { return Aspas(s); }
    std::string operator()(const TVarDate& d) const { return Aspas(DataISO(d.Valor)); }
    std::string operator()(bool b) const { return b ? "1" : "0"; }
  };
  return std::visit(V{}, AValor);
}

std::string ValorParaFiltro(const TVariant& AValor) {
  // O filtro do TnClientDataSet compara datas pelo número de dias.
  if (const auto* d = std::get_if<TVarDate>(&AValor)) return Decimal::TextoCurto(d->Valor);
  return ValorParaSQL(AValor);
}

std::string PreencherEsquerda(const std::string& ATexto, size_t ATamanho, char ACaractere) {
  if (ATexto.size() >= ATamanho) return ATexto;
  return std::string(ATamanho - ATexto.size(), ACaractere) + ATexto;
}

double VarToFloatDef(const TVariant& AValor, double APadrao) {
  if (VarIsNull(AValor)) return APadrao;
  try {
    return VarToFloat(AValor);
  } catch (const std::exception&) {
    return APadrao;
  }
}

std::string Aparar(const std::string& ATexto) {
  const auto ini = ATexto.find_first_not_of(" \t\r\n");
  if (ini == std::string::npos) return "";
  return ATexto.substr(ini, ATexto.find_last_not_of(" \t\r\n") - ini + 1);
}

}  // namespace Nutil
