#pragma once
// Utilitários numéricos e de texto do host.
#include <string>

#include "base/Variant.h"

namespace Nutil {

// Arredonda meio para longe do zero, imune à representação binária (2.675 -> 2.68).
double RoundValor(double AValor, int ACasas = 2);
// Arredonda por aritmética decimal exata do valor escrito com 15 dígitos significativos.
double RoundValorBcd(double AValor, int ACasas = 2);
// Quociente; divisor zero dá 0 (nunca infinito nem NaN).
double Dividir(double ADividendo, double ADivisor);
// Valor como literal SQL: texto entre aspas simples (aspas dobradas), números com ponto,
// datas 'AAAA-MM-DD', nulo NULL, booleano 1/0.
std::string ValorParaSQL(const TVariant& AValor);
// Valor como literal da expressão de filtro do TnClientDataSet.
std::string ValorParaFiltro(const TVariant& AValor);
// Preenche à esquerda com o caractere até o tamanho (não corta textos maiores).
std::string PreencherEsquerda(const std::string& ATexto, size_t ATamanho, char ACaractere = '0');
double VarToFloatDef(const TVariant& AValor, double APadrao);
// Texto sem espaços, tabulações e quebras de linha nas pontas.
std::string Aparar(const std::string& ATexto);

}  // namespace Nutil
