#pragma once
// Valores retidos na fonte já apurados, lidos do controle de retidos da EFD ou, fora dela,
// dos totais do lucro real ou presumido.
#include <string>
#include <vector>

#include "blocom/control/nFisEFDGeradorBlocoMConfig_U.h"
#include "credits/nFisEFDCreditosModelo_U.h"
#include "base/Variant.h"

using TListaRetido = std::vector<TDadosRetido>;

class TnFisEFDCreditosApuradosRet {
 public:
  // Lista ordenada (imposto, data do total, período da retenção, natureza).
  TListaRetido Carregar(TTipoImposto ATipoImposto);

  std::string GetSQLCredApuradoRet();
  std::string GetSQLCredApuradoRet(const std::string& ATabela, const std::string& AFiltroEstab,
                                   const std::string& ATipoDebito, const std::string& AColunaData) const;
  bool EhOptanteLucroReal() const;
  std::string GetFilterEstab() const;
  std::string GetFiltroImposto() const;
  TParams GetParams(int AFormaControleRetidos) const;
  static std::string GetChaveCredApuRet(const TDadosRetido& ALinha);
  static void OrdenarLista(TListaRetido& ALista);

  TConfigBlocoM FConfigBlocoM;
  TTipoImposto FTipoImposto = tiTodos;

 private:
  void CarregarCreditosApurados(const std::string& ASQL, int AFormaControleRetidos);

  TListaChave<TDadosRetido>* LstCredRetido = nullptr;  // só durante Carregar
  bool FOptanteEFD = false;
};
