#include "base/Decimal.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "base/Erros.h"
#include "base/Nutil.h"

namespace Decimal {

namespace {
// Decompõe um texto científico "d.ddddde[+-]x" em dígitos e expoente do último dígito.
void Decompor(const char* s, bool& negativo, std::string& digitos, int& expoente) {
  negativo = *s == '-';
  if (*s == '-' || *s == '+') ++s;
  digitos.clear();
  int posPonto = -1;
  const char* p = s;
  for (; *p && *p != 'e' && *p != 'E'; ++p) {
    if (*p == '.') posPonto = static_cast<int>(digitos.size());
    else digitos.push_back(*p);
  }
  int exp10 = *p ? std::atoi(p + 1) : 0;
  if (posPonto < 0) posPonto = static_cast<int>(digitos.size());
  // valor = 0.digitos * 10^(posPonto + exp10) -> expoente do último dígito
  expoente = posPonto + exp10 - static_cast<int>(digitos.size());
}

std::string Montar(bool negativo, const std::string& digitos, int expoente) {
  // digitos * 10^expoente em notação fixa
  std::string d = digitos;
  size_t i = 0;
  while (i + 1 < d.size() && d[i] == '0') ++i;
  d.erase(0, i);
  std::string r;
  if (expoente >= 0) {
    r = d + std::string(static_cast<size_t>(expoente), '0');
  } else {
    const size_t casas = static_cast<size_t>(-expoente);
    if (d.size() <= casas) d = std::string(casas - d.size() + 1, '0') + d;
    r = d.substr(0, d.size() - casas) + "." + d.substr(d.size() - casas);
  }
  bool zero = r.find_first_not_of("0.") == std::string::npos;
  return (negativo && !zero ? "-" : "") + r;
}
}  // namespace

std::string TextoChave(double v, int ACasas) {
  const double r = Nutil::RoundValor(v, ACasas);
  return r == 0 ? "0" : TextoCurto(r);
}

std::string TextoCurto(double v) {
  if (!std::isfinite(v)) return std::isnan(v) ? "NaN" : (v > 0 ? "Infinity" : "-Infinity");
  char buf[64];
  auto [fim, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific);
  *fim = 0;
  bool neg;
  std::string dig;
  int exp;
  Decompor(buf, neg, dig, exp);
  std::string r = Montar(neg, dig, exp);
  if (r.find('.') != std::string::npos) {
    while (r.back() == '0') r.pop_back();
    if (r.back() == '.') r.pop_back();
  }
  return r;
}

std::string ArredondarTexto(double v, int ACasas) {
  if (!std::isfinite(v)) return TextoCurto(v);
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.14e", v);
  bool neg;
  std::string dig;
  int exp;
  Decompor(buf, neg, dig, exp);
  // Mantém dígitos até a casa pedida; o primeiro descartado decide (meio para longe do zero).
  const int descartar = -ACasas - exp;  // quantos dígitos à direita saem
  if (descartar > 0) {
    const int n = static_cast<int>(dig.size());
    const int fica = n - descartar;
    bool sobe = false;
    if (fica >= 0 && fica < n) sobe = dig[static_cast<size_t>(fica)] >= '5';
    std::string mant = fica > 0 ? dig.substr(0, static_cast<size_t>(fica)) : std::string("0");
    if (sobe) {
      int i = static_cast<int>(mant.size()) - 1;
      while (i >= 0 && mant[static_cast<size_t>(i)] == '9') mant[static_cast<size_t>(i--)] = '0';
      if (i < 0) mant.insert(mant.begin(), '1');
      else ++mant[static_cast<size_t>(i)];
    }
    dig = mant;
    exp = -ACasas;
  }
  return Montar(neg, dig, exp);
}

double TextoParaDouble(const std::string& texto) {
  double v = 0;
  const char* ini = texto.data();
  if (!texto.empty() && texto[0] == '+') ++ini;
  auto [p, ec] = std::from_chars(ini, texto.data() + texto.size(), v);
  if (ec != std::errc() || p != texto.data() + texto.size())
    throw EConversao("Número decimal inválido: \"" + texto + "\"");
  return v;
}

void TAcumulador::Reescalar(int novoExpoente) {
  // Baixa o expoente multiplicando a mantissa; detecta estouro.
  constexpr __int128 limite = static_cast<__int128>(1) << 120;
  while (!FInexato && FExpoente > novoExpoente) {
    if (FMantissa > limite / 10 || FMantissa < -limite / 10) {
      FInexato = true;
      break;
    }
    FMantissa *= 10;
    --FExpoente;
  }
}

void TAcumulador::SomarInteiro(int64_t v) {
  FAproximado += static_cast<long double>(v);
  if (FInexato) return;
  __int128 m = v;
  int e = 0;
  if (FMantissa == 0) FExpoente = 0;
  if (e > FExpoente) {
    for (; e > FExpoente; --e) m *= 10;
  } else if (e < FExpoente) {
    Reescalar(e);
  }
  FMantissa += m;
}

void TAcumulador::Somar(double v) {
  FAproximado += static_cast<long double>(v);
  if (FInexato) return;
  if (!std::isfinite(v)) {
    FInexato = true;
    return;
  }
  char buf[64];
  auto [fim, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific);
  *fim = 0;
  bool neg;
  std::string dig;
  int e;
  Decompor(buf, neg, dig, e);
  __int128 m = 0;
  for (char c : dig) m = m * 10 + (c - '0');
  if (neg) m = -m;
  if (FMantissa == 0 && FExpoente > e) FExpoente = e;
  if (e < FExpoente) Reescalar(e);
  if (FInexato) return;
  constexpr __int128 limite = static_cast<__int128>(1) << 120;
  for (; e > FExpoente; --e) {
    if (m > limite / 10 || m < -limite / 10) {
      FInexato = true;
      return;
    }
    m *= 10;
  }
  FMantissa += m;
  if (FMantissa > limite || FMantissa < -limite) FInexato = true;
}

double TAcumulador::Resultado() const {
  if (FInexato) return static_cast<double>(FAproximado);
  __int128 m = FMantissa;
  const bool neg = m < 0;
  if (neg) m = -m;
  std::string dig;
  do {
    dig.insert(dig.begin(), static_cast<char>('0' + static_cast<int>(m % 10)));
    m /= 10;
  } while (m > 0);
  std::string texto = (neg ? "-" : "") + dig + "e" + std::to_string(FExpoente);
  double v = 0;
  std::from_chars(texto.data(), texto.data() + texto.size(), v);
  return v;
}

}  // namespace Decimal
