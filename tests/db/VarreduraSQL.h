#pragma once
// Varredura dos textos SQL escritos no código-fonte: encontra as tabelas (FROM, JOIN, INTO,
// UPDATE) e as referências ALIAS.COLUNA dos literais de string de um arquivo C++ e confere
// cada uma contra o esquema. Os sufixos de formatação ("%0:s", "%s") valem por qualquer dos
// textos que o sistema usa no lugar deles (ENT, SAI, PIS, COFINS, ...).
#include <string>
#include <vector>

#include "db/Schema.h"

struct TLiteralCpp {
  int Linha = 0;
  std::string Texto;  // conteúdo já sem aspas, escapes simples resolvidos
};

// Literais de string de um fonte C++ (ignora comentários e literais de caractere).
std::vector<TLiteralCpp> LiteraisCpp(const std::string& AFonte);

struct TProblemaSQL {
  int Linha = 0;
  std::string Descricao;  // "tabela inexistente: X" ou "coluna inexistente: A.B (tabelas: ...)"
};

struct TResultadoVarredura {
  int TabelasConferidas = 0;
  int ColunasConferidas = 0;
  std::vector<TProblemaSQL> Problemas;
};

// Confere os literais de um arquivo; os aliases valem no arquivo inteiro (um alias ligado a
// uma tabela desconhecida, como uma subconsulta, não é conferido).
TResultadoVarredura ConferirSQL(const std::vector<TLiteralCpp>& ALiterais, const std::vector<TTabelaSchema>& AEsquema);
