#pragma once
// Créditos já apurados em períodos anteriores, lidos do controle de créditos da EFD ou,
// fora dela, dos totais do lucro real.
#include <memory>
#include <string>
#include <vector>

#include "blocom/control/nFisEFDGeradorBlocoMConfig_U.h"
#include "credits/nFisEFDCreditosModelo_U.h"

class TDataSet;

using TListaCreditoObj = std::vector<std::unique_ptr<TDadosCreditoObj>>;

class TnFisEFDCreditosApurados {
 public:
  // Lista ordenada (imposto, data do total, período, código); o chamador fica dono.
  TListaCreditoObj Carregar(TTipoImposto ATipoImposto, bool ASepararPorTipoApuracao);

  std::string GetSQLCredApurado();
  std::string GetSQLCredApuradoEFD() const;
  std::string GetSQLCredApuradoLucroReal() const;
  std::string GetSQLCredApuradoFormat() const;
  std::string GetFilterEstab() const;
  std::string GetFiltroImposto() const;
  TParams GetParams() const;
  static void OrdenarLista(TListaCreditoObj& ALista);

  TTipoImposto FTipoImposto = tiTodos;
  TConfigBlocoM FConfigBlocoM;
  bool FSepararPorTipoApuracao = false;

 private:
  void CarregarCreditosApurados(const std::string& ASQL);
  bool SepararTipos() const { return FOptanteEFD && FSepararPorTipoApuracao; }

  TListaChave<std::unique_ptr<TDadosCreditoObj>>* LstCredApu = nullptr;  // só durante Carregar
  bool FOptanteEFD = false;
};
