#pragma once
// Listas de CFOP tiradas da tabela pública de CFOP do host (tabela CFOP) e o filtro SQL.
#include <string>
#include <vector>

class TDatabase;

// Cada lista vem das linhas marcadas na tabela CFOP do banco do host corrente; uma
// tabela sem linha marcada para a lista usa a lista pública embutida (a mesma que
// PopularTabelaCFOP grava). Ordem crescente, sem repetição.
const std::vector<int>& LstCFOPTransferencia();
const std::vector<int>& LstCFOPDevolucao();
const std::vector<int>& LstCFOPEntEnergiaEletrica();
const std::vector<int>& LstMGCfopEntNoEstEnergia();
const std::vector<int>& LstMGCfopEntForaEstEnergia();

// Condição entre parênteses, verdadeira quando a coluna tem um dos CFOPs da lista (até
// AHighIndex). O código de 4 dígitos vale também na forma detalhada de 7 dígitos do host
// (5927 cobre 5927000 a 5927999). CFOPs seguidos viram uma faixa; lista vazia dá "(1 = 0)".
std::string MontarFiltroCFOP(const std::vector<int>& ALista, int AHighIndex,
                             const std::string& AColuna);
std::string MontarFiltroCFOP(const std::vector<int>& ALista, const std::string& AColuna);

// CFOP de 7 dígitos -> 4 dígitos; os de 4 dígitos voltam iguais.
int CFOPQuatroDigitos(int ACFOP);

// Grava (ou completa) a tabela CFOP com os códigos públicos das listas acima.
void PopularTabelaCFOP(TDatabase& ABanco);
