#pragma once
// Contexto do host: conexão, cache de SQL, objetos de opção e ajustes de uma execução.
// As funções livres (Nutildb::ExecutarSQL, ControleOpcaoEFD(), ...) agem sobre o host
// corrente da thread, definido por THostScope.
#include <memory>

#include "host/Database.h"

class TnSQLCache;
class TServicosHost;  // objetos de opção e serviços de negócio (host/Servicos*.h)
struct TServicosHostDeleter {
  void operator()(TServicosHost* p) const;
};

struct TConfiguracaoHost {
  bool ForcarKorvel = false;  // liga os textos com dicas de índice (testes)
};

class THost {
 public:
  explicit THost(std::unique_ptr<TDatabase> banco);
  ~THost();
  THost(const THost&) = delete;
  THost& operator=(const THost&) = delete;

  TDatabase& Database() { return *FBanco; }
  TnSQLCache& Cache();
  TConfiguracaoHost& Configuracao() { return FConfiguracao; }
  // Opções da empresa e serviços de negócio; criados na primeira chamada.
  TServicosHost& Servicos();

  // Host corrente da thread; lança EPisco se nenhum estiver ativo.
  static THost& Atual();
  static THost* AtualOuNulo();

 private:
  friend class THostScope;
  std::unique_ptr<TDatabase> FBanco;
  std::unique_ptr<TnSQLCache> FCache;
  TConfiguracaoHost FConfiguracao;
  std::unique_ptr<TServicosHost, TServicosHostDeleter> FServicos;
};

// Torna um host o corrente da thread enquanto existir; restaura o anterior ao sair.
class THostScope {
 public:
  explicit THostScope(THost& host);
  ~THostScope();
  THostScope(const THostScope&) = delete;
  THostScope& operator=(const THostScope&) = delete;

 private:
  THost* FAnterior;
};

// Verdadeiro quando o banco aceita dicas de índice do otimizador: nunca nos dois backends,
// a menos que a configuração do host corrente force (ForcarKorvel).
bool EhKorvel();
