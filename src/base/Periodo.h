#pragma once
// Período de apuração como o usuário o informa na linha de comando.
#include <string>

#include "base/DateTime.h"

// A competência "AAAA-MM", se informada, senão início e fim "AAAA-MM-DD". Lança EConversao
// em texto inválido e EEntradaInvalida se o fim vem antes do início.
void PeriodoInformado(const std::string& competencia, const std::string& inicio, const std::string& fim,
                      TDateTime& dataInicial, TDateTime& dataFinal);
