#pragma once
// Objetos de opção e serviços de negócio de um host (THost::Servicos()).
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/ControlesFiscais.h"
#include "host/LucroRealPresumido.h"
#include "host/OpcaoEFD.h"

class THost;

// Listas de CFOP lidas da tabela CFOP, uma vez por host.
struct TListasCFOP {
  bool Carregadas = false;
  std::vector<int> Transferencia, Devolucao, EnergiaEletrica, EnergiaNoEstado, EnergiaForaEstado;
};

class TServicosHost {
 public:
  explicit TServicosHost(THost& AHost);
  TnUtilOpcaoEFD& OpcaoEFD() { return FOpcaoEFD; }
  TnUtilLucroReal& LucroReal() { return FLucroReal; }
  TnUtilLucroPresumido& LucroPresumido() { return FLucroPresumido; }
  TnUtilIPI& IPI() { return FIPI; }
  TnUtilContribPatronal& ContribPatronal() { return FContribPatronal; }
  TnConfig& Config() { return FConfig; }
  TListasCFOP& ListasCFOP() { return FListasCFOP; }
  // Conversões de TABELASPED (CODIGOTABSPED -> CODIGOCONVERSAO), lidas uma vez.
  const std::map<std::string, std::string>& ConversoesSPED();
  bool UsoInterno() const { return FUsoInterno; }
  void SetUsoInterno(bool AValor) { FUsoInterno = AValor; }
  // A tabela temporária LCTOFISTMP já foi criada nesta conexão.
  bool TempDevolucaoCriada = false;
  // Descarta o que foi lido do banco (após gravar opções no mesmo host).
  void LimparCaches();

 private:
  TnUtilOpcaoEFD FOpcaoEFD;
  TnUtilLucroReal FLucroReal;
  TnUtilLucroPresumido FLucroPresumido;
  TnUtilIPI FIPI;
  TnUtilContribPatronal FContribPatronal;
  TnConfig FConfig;
  TListasCFOP FListasCFOP;
  std::optional<std::map<std::string, std::string>> FConversoesSPED;
  THost& FHost;
  bool FUsoInterno = false;
};
