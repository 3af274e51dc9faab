#include "host/SQLCache.h"

#include "host/ClientDataSet.h"
#include "host/Nutildb.h"

TnSQLCache::~TnSQLCache() = default;

TDataSet* TnSQLCache::ExecutarSQL(const std::string& ASQL, const TParams& AValores, bool ACliente) {
  auto& e = FEntradas[{ASQL, ACliente}];
  // Só reaproveita o que o próprio cache carregou: um refresh de fora troca as linhas.
  if (e.DataSet && ACliente && e.Valores == AValores && e.DataSet->Carregamentos() == e.Carregamentos) {
    e.DataSet->First();
    return e.DataSet.get();
  }
  try {
    if (e.DataSet) e.DataSet->Reexecutar(AValores);
    else e.DataSet = Nutildb::ExecutarSQL(ASQL, AValores, ACliente, true, -1, "", FBanco);
  } catch (...) {
    // Um dataset que falhou no meio não diz mais de que valores são suas linhas.
    FEntradas.erase({ASQL, ACliente});
    throw;
  }
  e.Valores = AValores;
  e.Carregamentos = e.DataSet->Carregamentos();
  return e.DataSet.get();
}

void TnSQLCache::Limpar() { FEntradas.clear(); }
