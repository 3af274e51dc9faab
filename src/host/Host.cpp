#include "host/Host.h"

#include "base/Erros.h"
#include "host/SQLCache.h"

namespace {
// Único estado mutável global permitido: o host corrente de cada thread.
thread_local THost* gHostAtual = nullptr;
}  // namespace

THost::THost(std::unique_ptr<TDatabase> banco) : FBanco(std::move(banco)) {
  if (!FBanco) throw EPisco("Host sem conexão com o banco de dados");
}

THost::~THost() = default;

TnSQLCache& THost::Cache() {
  if (!FCache) FCache = std::make_unique<TnSQLCache>(*FBanco);
  return *FCache;
}

THost& THost::Atual() {
  if (!gHostAtual) throw EPisco("Nenhum host ativo nesta thread (falta um THostScope)");
  return *gHostAtual;
}

THost* THost::AtualOuNulo() { return gHostAtual; }

THostScope::THostScope(THost& host) : FAnterior(gHostAtual) { gHostAtual = &host; }
THostScope::~THostScope() { gHostAtual = FAnterior; }

bool EhKorvel() {
  THost* h = THost::AtualOuNulo();
  return h && h->Configuracao().ForcarKorvel;
}

TnSQLCache& SQLCache() { return THost::Atual().Cache(); }
