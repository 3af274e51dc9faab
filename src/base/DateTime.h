#pragma once
// TDateTime: dias desde 30/12/1899 (parte fracionária = hora), comparado por dia.
#include <string>

using TDateTime = double;

TDateTime EncodeDate(int ano, int mes, int dia);  // lança EConversao em data inválida
bool TryEncodeDate(int ano, int mes, int dia, TDateTime& resultado);
void DecodeDate(TDateTime data, int& ano, int& mes, int& dia);
int YearOf(TDateTime data);
int MonthOf(TDateTime data);
int DayOf(TDateTime data);
TDateTime DateOf(TDateTime data);  // descarta a hora
int DaysInAMonth(int ano, int mes);
TDateTime StartOfTheMonth(TDateTime data);
TDateTime EndOfTheMonth(TDateTime data);  // último dia, sem hora
TDateTime IncMonth(TDateTime data, int meses = 1);  // dia limitado ao fim do mês
bool MesmoDia(TDateTime a, TDateTime b);
int CompararDias(TDateTime a, TDateTime b);  // -1, 0, 1

// Formata com os padrões usados pelo sistema: "dd", "mm", "yyyy", "yy" e separadores
// literais ("ddmmyyyy", "yyyymmdd", "dd-mm-yyyy", "mmyyyy", "dd/mm/yyyy"). Maiúsculas valem.
std::string FormatDateTime(const std::string& padrao, TDateTime data);
std::string DataISO(TDateTime data);             // "AAAA-MM-DD"
TDateTime ISOParaData(const std::string& texto);  // "AAAA-MM-DD[...]"; lança EConversao
bool TryISOParaData(const std::string& texto, TDateTime& data);
// Competência "AAAA-MM" -> primeiro e último dia do mês; lança EConversao.
void CompetenciaParaPeriodo(const std::string& competencia, TDateTime& inicio, TDateTime& fim);
