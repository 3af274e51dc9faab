#pragma once
// Escrita do Bloco M no leiaute oficial da EFD-Contribuições: uma linha por registro,
// "|REG|campo|...|", CR LF, na ordem da hierarquia do leiaute, M990 contando as linhas.
#include <ostream>
#include <string>
#include <vector>

#include "blocom/model/nFisRepositorioEFDModel_U.h"
#include "output/CamposBlocoM.h"

struct TLinhaBlocoM {
  std::string Registro;
  TCampos Campos;  // depois de REG
};

// Registros do bloco na ordem em que são escritos, de M001 a M990.
std::vector<TLinhaBlocoM> RegistrosBlocoM(const TM001AberturaBloco& AM001);
// "|REG|campo|...|" sem o CR LF; lança EPisco se a quantidade de campos difere do leiaute.
std::string FormatarLinhaBlocoM(const TLinhaBlocoM& ALinha);
// Todas as linhas do bloco, sem o CR LF.
std::vector<std::string> MontarLinhasBlocoM(const TM001AberturaBloco& AM001);
// Escreve o bloco, cada linha terminada por CR LF.
void EscreverBlocoM(std::ostream& ASaida, const TM001AberturaBloco& AM001);
// Os mesmos, de uma execução que pode não ter M001 nenhum (nulo: nenhum gerador tocou um tipo
// de apuração); aí o bloco é só M001 sem movimento e M990.
std::vector<TLinhaBlocoM> RegistrosBlocoM(const TM001AberturaBloco* AM001);
std::vector<std::string> MontarLinhasBlocoM(const TM001AberturaBloco* AM001);
void EscreverBlocoM(std::ostream& ASaida, const TM001AberturaBloco* AM001);
