#include "base/Format.h"

#include <cctype>
#include <cmath>
#include <fmt/format.h>

#include "base/Decimal.h"
#include "base/Erros.h"
#include "base/TextoUTF8.h"

namespace {

[[noreturn]] void Erro(const std::string& formato, const std::string& motivo) {
  throw EConversao(fmt::format("Formato inválido ou incompatível com o argumento: \"{}\" ({})", formato, motivo));
}

bool Inteiro(const TVariant& v) { return std::holds_alternative<int64_t>(v) || std::holds_alternative<bool>(v); }

std::string Milhares(const std::string& fixo) {
  // "1234567.89" -> "1,234,567.89"
  const bool neg = !fixo.empty() && fixo[0] == '-';
  const std::string corpo = neg ? fixo.substr(1) : fixo;
  const auto ponto = corpo.find('.');
  std::string inteiro = corpo.substr(0, ponto), resto = ponto == std::string::npos ? "" : corpo.substr(ponto);
  std::string r;
  for (size_t i = 0; i < inteiro.size(); ++i) {
    if (i > 0 && (inteiro.size() - i) % 3 == 0) r += ',';
    r += inteiro[i];
  }
  return (neg ? "-" : "") + r + resto;
}

}  // namespace

std::string Format(const std::string& AFormato, const TParams& AArgs) {
  std::string r;
  size_t proximo = 0;
  const std::string& f = AFormato;
  for (size_t i = 0; i < f.size(); ++i) {
    if (f[i] != '%') {
      r += f[i];
      continue;
    }
    const size_t ini = i++;
    if (i < f.size() && f[i] == '%') {
      r += '%';
      continue;
    }
    auto numero = [&](long& v) {
      const size_t a = i;
      v = 0;
      while (i < f.size() && std::isdigit(static_cast<unsigned char>(f[i])) && i - a < 9) v = v * 10 + (f[i++] - '0');
      if (i < f.size() && std::isdigit(static_cast<unsigned char>(f[i]))) Erro(f, "número grande demais");
      return i > a;
    };
    auto estrela = [&](long& v) {
      if (i < f.size() && f[i] == '*') {
        ++i;
        if (proximo >= AArgs.size() || !Inteiro(AArgs[proximo])) Erro(f, "'*' sem argumento inteiro");
        v = static_cast<long>(VarToInt(AArgs[proximo++]));
        return true;
      }
      return numero(v);
    };
    long n = 0;
    const size_t antes = i;
    if (numero(n) && i < f.size() && f[i] == ':') {
      proximo = static_cast<size_t>(n);
      ++i;
    } else {
      i = antes;  // não era índice: relê como largura
    }
    bool esquerda = false;
    if (i < f.size() && f[i] == '-') {
      esquerda = true;
      ++i;
    }
    long largura = 0, precisao = -1;
    estrela(largura);
    if (i < f.size() && f[i] == '.') {
      ++i;
      if (!estrela(precisao)) precisao = 0;
    }
    if (i >= f.size()) Erro(f, "marca de formatação incompleta no fim do texto");
    if (largura > 1000 || precisao > 100 || largura < 0) Erro(f, "largura ou precisão fora do limite");
    const char tipo = static_cast<char>(std::tolower(static_cast<unsigned char>(f[i])));
    if (proximo >= AArgs.size())
      Erro(f, fmt::format("falta o argumento {} em \"{}\"", proximo, f.substr(ini, i - ini + 1)));
    const TVariant& arg = AArgs[proximo++];
    std::string txt;
    switch (tipo) {
      case 'd':
      case 'u': {
        if (!Inteiro(arg)) Erro(f, fmt::format("\"{}\" pede inteiro", f.substr(ini, i - ini + 1)));
        const int64_t v = VarToInt(arg);
        std::string dig = std::to_string(v);
        if (v < 0) dig.erase(0, 1);
        if (precisao > 0 && dig.size() < static_cast<size_t>(precisao)) dig.insert(0, static_cast<size_t>(precisao) - dig.size(), '0');
        txt = (v < 0 ? "-" : "") + dig;
        break;
      }
      case 'x': {
        if (!Inteiro(arg)) Erro(f, fmt::format("\"{}\" pede inteiro", f.substr(ini, i - ini + 1)));
        txt = fmt::format("{:X}", static_cast<uint64_t>(VarToInt(arg)));
        if (precisao > 0 && txt.size() < static_cast<size_t>(precisao)) txt.insert(0, static_cast<size_t>(precisao) - txt.size(), '0');
        break;
      }
      case 'e':
      case 'f':
      case 'g':
      case 'n': {
        if (!Inteiro(arg) && !std::holds_alternative<double>(arg))
          Erro(f, fmt::format("\"{}\" pede número", f.substr(ini, i - ini + 1)));
        const double v = VarToFloat(arg);
        if (tipo == 'f') txt = fmt::format("{:.{}f}", v, precisao < 0 ? 2 : precisao);
        else if (tipo == 'n') txt = Milhares(fmt::format("{:.{}f}", v, precisao < 0 ? 2 : precisao));
        else if (tipo == 'e') txt = fmt::format("{:.{}E}", v, precisao < 0 ? 14 : std::max(0L, precisao - 1));
        else txt = precisao < 0 ? Decimal::TextoCurto(v) : fmt::format("{:.{}G}", v, std::max(1L, precisao));
        break;
      }
      case 's': {
        txt = VarToStr(arg);
        if (precisao >= 0) TextoUTF8::Cortar(txt, static_cast<size_t>(precisao));
        break;
      }
      default:
        Erro(f, fmt::format("tipo de formato desconhecido '{}'", f[i]));
    }
    const size_t caracteres = TextoUTF8::Caracteres(txt);
    if (largura > 0 && caracteres < static_cast<size_t>(largura)) {
      const std::string pad(static_cast<size_t>(largura) - caracteres, ' ');
      txt = esquerda ? txt + pad : pad + txt;
    }
    r += txt;
  }
  return r;
}
