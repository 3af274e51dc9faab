#pragma once
// Cache de consultas do host: um dataset por texto SQL (e modo cliente), dono dos datasets.
#include <map>
#include <memory>
#include <string>
#include <utility>

#include "host/DataSet.h"
#include "base/Variant.h"

class TDatabase;

class TnSQLCache {
 public:
  explicit TnSQLCache(TDatabase& ABanco) : FBanco(&ABanco) {}
  ~TnSQLCache();
  TnSQLCache(const TnSQLCache&) = delete;
  TnSQLCache& operator=(const TnSQLCache&) = delete;

  // Devolve o dataset do texto, aberto na primeira linha; pertence ao cache.
  // Mesmo texto com os mesmos valores: o TnClientDataSet volta ao início sem ir ao banco;
  // o dataset em fluxo (não volta atrás), qualquer troca de valores e um refresh feito por
  // outro reexecutam a consulta. Uma reexecução que falha tira a entrada do cache.
  TDataSet* ExecutarSQL(const std::string& ASQL, const TParams& AValores = {}, bool ACliente = false);
  size_t Quantidade() const { return FEntradas.size(); }
  void Limpar();

 private:
  struct TEntrada {
    TParams Valores;
    std::unique_ptr<TDataSet> DataSet;
    uint64_t Carregamentos = 0;  // do dataset, quando o cache o carregou
  };
  TDatabase* FBanco;
  std::map<std::pair<std::string, bool>, TEntrada> FEntradas;
};

// Cache do host corrente.
TnSQLCache& SQLCache();
