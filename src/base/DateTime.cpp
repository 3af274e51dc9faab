#include "base/DateTime.h"

#include <cctype>
#include <cmath>
#include <fmt/format.h>

#include "base/Erros.h"

namespace {
// Dias desde 30/12/1899 pelo calendário gregoriano proléptico (algoritmo de dias civis).
long DiasDesdeEpoca(int a, int m, int d) {
  a -= m <= 2;
  const long era = (a >= 0 ? a : a - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(a - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long>(doe) - 719468 + 25569;  // 25569 = 01/01/1970
}

void CivilDeDias(long z, int& a, int& m, int& d) {
  z = z - 25569 + 719468;
  const long era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long y = static_cast<long>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  a = static_cast<int>(y + (m <= 2));
}

long DiaInteiro(TDateTime data) { return static_cast<long>(std::floor(data + 1e-9)); }
}  // namespace

int DaysInAMonth(int ano, int mes) {
  static const int dias[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (mes == 2) {
    const bool bissexto = (ano % 4 == 0 && ano % 100 != 0) || ano % 400 == 0;
    return bissexto ? 29 : 28;
  }
  return dias[mes - 1];
}

bool TryEncodeDate(int ano, int mes, int dia, TDateTime& resultado) {
  if (ano < 1 || ano > 9999 || mes < 1 || mes > 12 || dia < 1 || dia > DaysInAMonth(ano, mes)) return false;
  resultado = static_cast<TDateTime>(DiasDesdeEpoca(ano, mes, dia));
  return true;
}

TDateTime EncodeDate(int ano, int mes, int dia) {
  TDateTime r;
  if (!TryEncodeDate(ano, mes, dia, r))
    throw EConversao(fmt::format("Data inválida: {:04}-{:02}-{:02}", ano, mes, dia));
  return r;
}

void DecodeDate(TDateTime data, int& ano, int& mes, int& dia) { CivilDeDias(DiaInteiro(data), ano, mes, dia); }

int YearOf(TDateTime data) { int a, m, d; DecodeDate(data, a, m, d); return a; }
int MonthOf(TDateTime data) { int a, m, d; DecodeDate(data, a, m, d); return m; }
int DayOf(TDateTime data) { int a, m, d; DecodeDate(data, a, m, d); return d; }
TDateTime DateOf(TDateTime data) { return static_cast<TDateTime>(DiaInteiro(data)); }

TDateTime StartOfTheMonth(TDateTime data) {
  int a, m, d;
  DecodeDate(data, a, m, d);
  return EncodeDate(a, m, 1);
}

TDateTime EndOfTheMonth(TDateTime data) {
  int a, m, d;
  DecodeDate(data, a, m, d);
  return EncodeDate(a, m, DaysInAMonth(a, m));
}

TDateTime IncMonth(TDateTime data, int meses) {
  int a, m, d;
  DecodeDate(data, a, m, d);
  long total = static_cast<long>(a) * 12 + (m - 1) + meses;
  const int na = static_cast<int>(total / 12);
  const int nm = static_cast<int>(total % 12) + 1;
  const int nd = std::min(d, DaysInAMonth(na, nm));
  return EncodeDate(na, nm, nd) + (data - std::floor(data + 1e-9) > 1e-9 ? data - std::floor(data) : 0.0);
}

bool MesmoDia(TDateTime a, TDateTime b) { return DiaInteiro(a) == DiaInteiro(b); }

int CompararDias(TDateTime a, TDateTime b) {
  const long x = DiaInteiro(a), y = DiaInteiro(b);
  return x < y ? -1 : (x > y ? 1 : 0);
}

std::string FormatDateTime(const std::string& padrao, TDateTime data) {
  int a, m, d;
  DecodeDate(data, a, m, d);
  std::string r;
  size_t i = 0;
  auto conta = [&](char c) {
    size_t n = 0;
    while (i + n < padrao.size() && std::tolower(static_cast<unsigned char>(padrao[i + n])) == c) ++n;
    return n;
  };
  while (i < padrao.size()) {
    const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(padrao[i])));
    size_t n = (c == 'd' || c == 'm' || c == 'y') ? conta(c) : 0;
    if (c == 'd' && n >= 2) { r += fmt::format("{:02}", d); i += 2; }
    else if (c == 'd') { r += std::to_string(d); i += 1; }
    else if (c == 'm' && n >= 2) { r += fmt::format("{:02}", m); i += 2; }
    else if (c == 'm') { r += std::to_string(m); i += 1; }
    else if (c == 'y' && n >= 4) { r += fmt::format("{:04}", a); i += 4; }
    else if (c == 'y' && n >= 2) { r += fmt::format("{:02}", a % 100); i += 2; }
    else { r += padrao[i]; i += 1; }
  }
  return r;
}

std::string DataISO(TDateTime data) { return FormatDateTime("yyyy-mm-dd", data); }

bool TryISOParaData(const std::string& texto, TDateTime& data) {
  if (texto.size() < 10 || texto[4] != '-' || texto[7] != '-') return false;
  for (int i : {0, 1, 2, 3, 5, 6, 8, 9})
    if (!std::isdigit(static_cast<unsigned char>(texto[i]))) return false;
  const int a = std::stoi(texto.substr(0, 4)), m = std::stoi(texto.substr(5, 2)), d = std::stoi(texto.substr(8, 2));
  if (texto.size() > 10 && texto[10] != ' ' && texto[10] != 'T') return false;
  return TryEncodeDate(a, m, d, data);
}

TDateTime ISOParaData(const std::string& texto) {
  TDateTime d;
  if (!TryISOParaData(texto, d)) throw EConversao(fmt::format("Data inválida (esperado AAAA-MM-DD): \"{}\"", texto));
  return d;
}

void CompetenciaParaPeriodo(const std::string& competencia, TDateTime& inicio, TDateTime& fim) {
  TDateTime d;
  if (competencia.size() != 7 || !TryISOParaData(competencia + "-01", d))
    throw EConversao(fmt::format("Competência inválida (esperado AAAA-MM): \"{}\"", competencia));
  inicio = d;
  fim = EndOfTheMonth(d);
}
