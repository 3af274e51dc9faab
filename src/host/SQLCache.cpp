#include "host/SQLCache.h"

#include "host/ClientDataSet.h"
#include "host/Nutildb.h"

TnSQLCache::~TnSQLCache() = default;

TDataSet* TnSQLCache::ExecutarSQL(const std::string& ASQL, const TParams& AValores, bool ACliente) {
  auto& e = FEntradas[{ASQL, ACliente}];
  if (e.DataSet && e.Valores == AValores && ACliente) {
    e.DataSet->First();
    return e.DataSet.get();
  }
  if (e.DataSet) {
    e.DataSet->Reexecutar(AValores);
  } else {
    try {
      e.DataSet = Nutildb::ExecutarSQL(ASQL, AValores, ACliente, true, -1, "", FBanco);
    } catch (...) {
      FEntradas.erase({ASQL, ACliente});
      throw;
    }
  }
  e.Valores = AValores;
  return e.DataSet.get();
}

void TnSQLCache::Limpar() { FEntradas.clear(); }
