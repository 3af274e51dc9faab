#include "host/Nutildb.h"

#include "host/ClientDataSet.h"
#include "host/Database.h"
#include "host/Host.h"

namespace Nutildb {

std::unique_ptr<TDataSet> ExecutarSQL(const std::string& ASQL, const TParams& AValores, bool ACliente, bool,
                                      int AMaxRegistros, const std::string&, TDatabase* AConexao, bool AAbrir) {
  // Só há uma conexão por host: o nome da conexão não escolhe nada.
  TDatabase& banco = AConexao ? *AConexao : THost::Atual().Database();
  if (!AAbrir) {
    auto cds = std::make_unique<TnClientDataSet>();
    cds->DefinirOrigem(ASQL, &banco);
    return cds;
  }
  auto ds = AMaxRegistros > 0 ? banco.AbrirLote(ASQL, AValores, AMaxRegistros) : banco.Abrir(ASQL, AValores);
  if (!ACliente) return ds;
  auto cds = std::make_unique<TnClientDataSet>();
  cds->CarregarDe(*ds);
  ds.reset();  // libera o cursor antes de devolver
  cds->DefinirOrigem(ASQL, &banco);
  return cds;
}

void DestruirSQL(std::unique_ptr<TDataSet>& ADataSet) {
  if (ADataSet) ADataSet->Close();
  ADataSet.reset();
}

void RefreshSQL(TDataSet& ADataSet, const TParams& AValores, bool) { ADataSet.Reexecutar(AValores); }

bool CompararCommandText(const TDataSet& ADataSet, const std::string& ASQL) { return ADataSet.CommandText() == ASQL; }

}  // namespace Nutildb
