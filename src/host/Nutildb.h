#pragma once
// Acesso ao banco do host corrente, na forma que o módulo chama.
#include <memory>
#include <string>

#include "host/DataSet.h"
#include "base/Variant.h"

class TDatabase;

namespace Nutildb {

// Executa a consulta e devolve o dataset aberto na primeira linha.
// ACliente = true carrega tudo em memória e devolve um TnClientDataSet;
// AMaxRegistros > 0 pede esse tamanho de lote ao banco (-1 = padrão).
std::unique_ptr<TDataSet> ExecutarSQL(const std::string& ASQL, const TParams& AValores = {},
                                      bool ACliente = false, bool ASomenteLeitura = true,
                                      int AMaxRegistros = -1, const std::string& ANomeConexao = "",
                                      TDatabase* AConexao = nullptr, bool AAbrir = true);

// Fecha e libera o dataset (deixa o ponteiro nulo).
void DestruirSQL(std::unique_ptr<TDataSet>& ADataSet);

// Reexecuta o texto do dataset com novos valores, no mesmo objeto.
void RefreshSQL(TDataSet& ADataSet, const TParams& AValores, bool AAbrir = true);

// Diz se o texto do dataset é igual ao dado.
bool CompararCommandText(const TDataSet& ADataSet, const std::string& ASQL);

}  // namespace Nutildb
