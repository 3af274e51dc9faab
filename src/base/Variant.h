#pragma once
// Valores variantes trocados entre o módulo e o banco (parâmetros e campos).
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "base/DateTime.h"

// Data dentro de um variante: distinta de um double comum.
struct TVarDate {
  TDateTime Valor = 0;
  bool operator==(const TVarDate&) const = default;
};

using TVariant = std::variant<std::monostate, int64_t, double, std::string, TVarDate, bool>;
using TParams = std::vector<TVariant>;

inline bool VarIsNull(const TVariant& v) { return std::holds_alternative<std::monostate>(v); }
inline TVariant VarNull() { return std::monostate{}; }
inline TVariant VarDate(TDateTime d) { return TVarDate{d}; }

// Conversões tolerantes no estilo do runtime do host; lançam EConversao em texto inválido.
int64_t VarToInt(const TVariant& v);
double VarToFloat(const TVariant& v);
std::string VarToStr(const TVariant& v);  // nulo -> ""; data -> "AAAA-MM-DD"
TDateTime VarToDateTime(const TVariant& v);
bool VarToBool(const TVariant& v);
