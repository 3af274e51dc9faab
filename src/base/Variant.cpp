#include "base/Variant.h"

#include <charconv>
#include <cmath>
#include <fmt/format.h>

#include "base/Decimal.h"
#include "base/Erros.h"
#include "base/Nutil.h"

namespace {
using Nutil::Aparar;

bool TentarInteiro(const std::string& s, int64_t& v) {
  const std::string t = Aparar(s);
  if (t.empty()) return false;
  const char* ini = t.data() + (t[0] == '+' ? 1 : 0);
  auto [p, ec] = std::from_chars(ini, t.data() + t.size(), v);
  return ec == std::errc() && p == t.data() + t.size();
}

bool TentarFloat(const std::string& s, double& v) {
  std::string t = Aparar(s);
  if (t.empty()) return false;
  // aceita vírgula decimal quando não há ponto (texto digitado no padrão brasileiro)
  if (t.find('.') == std::string::npos) {
    const auto c = t.find(',');
    if (c != std::string::npos && t.find(',', c + 1) == std::string::npos) t[c] = '.';
  }
  const char* ini = t.data() + (t[0] == '+' ? 1 : 0);
  auto [p, ec] = std::from_chars(ini, t.data() + t.size(), v);
  return ec == std::errc() && p == t.data() + t.size() && std::isfinite(v);
}
}  // namespace

int64_t VarToInt(const TVariant& v) {
  struct V {
    int64_t operator()(std::monostate) const { return 0; }
    int64_t operator()(int64_t i) const { return i; }
    int64_t operator()(double d) const {
      if (!std::isfinite(d) || std::fabs(d) > 9.2e18)
        throw EConversao(fmt::format("Valor fora da faixa de inteiro: {}", Decimal::TextoCurto(d)));
      return std::llround(d);
    }
    int64_t operator()(const std::string& s) const {
      int64_t i;
      if (TentarInteiro(s, i)) return i;
      double d;
      if (TentarFloat(s, d)) return (*this)(d);
      throw EConversao(fmt::format("Não é possível converter \"{}\" em número inteiro", s));
    }
    int64_t operator()(const TVarDate& d) const { return static_cast<int64_t>(std::floor(d.Valor)); }
    int64_t operator()(bool b) const { return b ? 1 : 0; }
  };
  return std::visit(V{}, v);
}

double VarToFloat(const TVariant& v) {
  struct V {
    double operator()(std::monostate) const { return 0; }
    double operator()(int64_t i) const { return static_cast<double>(i); }
    double operator()(double d) const { return d; }
    double operator()(const std::string& s) const {
      double d;
      if (TentarFloat(s, d)) return d;
      TDateTime dt;
      if (TryISOParaData(Aparar(s), dt)) return dt;
      throw EConversao(fmt::format("Não é possível converter \"{}\" em número", s));
    }
    double operator()(const TVarDate& d) const { return d.Valor; }
    double operator()(bool b) const { return b ? 1 : 0; }
  };
  return std::visit(V{}, v);
}

std::string VarToStr(const TVariant& v) {
  struct V {
    std::string operator()(std::monostate) const { return ""; }
    std::string operator()(int64_t i) const { return std::to_string(i); }
    std::string operator()(double d) const { return Decimal::TextoCurto(d); }
    std::string operator()(const std::string& s) const { return s; }
    std::string operator()(const TVarDate& d) const { return DataISO(d.Valor); }
    std::string operator()(bool b) const { return b ? "True" : "False"; }
  };
  return std::visit(V{}, v);
}

TDateTime VarToDateTime(const TVariant& v) {
  struct V {
    TDateTime operator()(std::monostate) const { return 0; }
    TDateTime operator()(int64_t i) const { return static_cast<TDateTime>(i); }
    TDateTime operator()(double d) const { return d; }
    TDateTime operator()(const std::string& s) const {
      TDateTime d;
      if (TryISOParaData(Aparar(s), d)) return d;
      throw EConversao(fmt::format("Não é possível converter \"{}\" em data", s));
    }
    TDateTime operator()(const TVarDate& d) const { return d.Valor; }
    TDateTime operator()(bool) const { throw EConversao("Não é possível converter booleano em data"); }
  };
  return std::visit(V{}, v);
}

bool VarToBool(const TVariant& v) {
  struct V {
    bool operator()(std::monostate) const { return false; }
    bool operator()(int64_t i) const { return i != 0; }
    bool operator()(double d) const { return d != 0; }
    bool operator()(const std::string& s) const {
      std::string t = Aparar(s);
      for (auto& c : t) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      if (t == "true" || t == "t" || t == "1" || t == "s" || t == "sim") return true;
      if (t == "false" || t == "f" || t == "0" || t == "n" || t == "nao" || t == "não" || t.empty()) return false;
      throw EConversao(fmt::format("Não é possível converter \"{}\" em booleano", s));
    }
    bool operator()(const TVarDate& d) const { return d.Valor != 0; }
    bool operator()(bool b) const { return b; }
  };
  return std::visit(V{}, v);
}
