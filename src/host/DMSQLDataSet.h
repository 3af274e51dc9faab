#pragma once
// Leitura de um único valor: SELECT coluna FROM tabela WHERE condição (host corrente).
#include <string>

#include "base/Variant.h"

class TnDMSQLDataSet {
 public:
  // A condição é montada pelo módulo com literais de Nutil::ValorParaSQL; por segurança é
  // recusada (EEntradaInvalida) se tiver ';', comentário ou literal sem fim. A coluna pode ser
  // uma expressão simples ("SUM(VALORTOTAL3)"). Sem linha: nulo.
  static TVariant PegarValorCampo(const std::string& ATabela, const std::string& AColuna, const std::string& ACondicao);
};
