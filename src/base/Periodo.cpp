#include "base/Periodo.h"

#include "base/Erros.h"

void PeriodoInformado(const std::string& competencia, const std::string& inicio, const std::string& fim,
                      TDateTime& dataInicial, TDateTime& dataFinal) {
  if (!competencia.empty()) {
    CompetenciaParaPeriodo(competencia, dataInicial, dataFinal);
  } else {
    dataInicial = ISOParaData(inicio);
    dataFinal = ISOParaData(fim);
  }
  if (CompararDias(dataFinal, dataInicial) < 0)
    throw EEntradaInvalida("A data final (" + DataISO(dataFinal) + ") é anterior à inicial (" + DataISO(dataInicial) + ")");
}
