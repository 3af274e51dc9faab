#pragma once
// Parâmetros nomeados (:NOME) no texto SQL e adaptações de texto por dialeto.
//
// :NOME vale fora de literais de texto, identificadores entre aspas duplas e comentarios
// (-- e /* */); "::" (conversão de tipo) não é parâmetro. Nomes sem distinção de maiúsculas;
// os nomes distintos, na ordem da primeira ocorrência, recebem os valores.
#include <cstddef>
#include <string>
#include <vector>

#include "host/Database.h"

struct TOcorrenciaParametro {
  size_t Inicio = 0;   // posição do ':'
  size_t Tamanho = 0;  // ':' + nome
  int Indice = 0;      // índice do nome distinto (0-based)
};

struct TSQLAnalisado {
  std::vector<std::string> Nomes;  // distintos, em maiúsculas, ordem da primeira ocorrência
  std::vector<TOcorrenciaParametro> Ocorrencias;
};

TSQLAnalisado AnalisarParametros(const std::string& ASQL);

// Troca cada :NOME pelo marcador posicional do dialeto (?N no SQLite, $N no PostgreSQL).
std::string TrocarParametros(const std::string& ASQL, const TSQLAnalisado& AAnalise, TDialeto ADialeto);

// Lança EBancoDados quando a quantidade de valores difere da de nomes distintos.
void ConferirQuantidadeParametros(const TSQLAnalisado& AAnalise, size_t AValores, const std::string& ASQL);

// SQLite: CAST(expr AS NUMERIC(p,s)) / DECIMAL(p,s) vira PISCO_NUMERIC(expr, s), função
// registrada pelo backend que arredonda como o servidor (meio para longe do zero).
std::string AdaptarCastNumeric(const std::string& ASQL);

// Início do texto SQL para mensagens de erro (uma linha, até ATamanho caracteres).
std::string InicioSQL(const std::string& ASQL, size_t ATamanho = 120);

// Diz se o trecho, fora de literais, contém ';' ou início de comentário.
bool TemSeparadorOuComentario(const std::string& ATexto);
