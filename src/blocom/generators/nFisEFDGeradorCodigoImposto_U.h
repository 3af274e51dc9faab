#pragma once
// Código de receita (DARF) e variação sob os quais a contribuição é recolhida.
#include <cstdint>

#include "blocom/control/nFisEFDGeradorBlocoMConfig_U.h"
#include "blocom/model/nFisRepositorioEFDModel_U.h"

enum TIncidenciaTrib : uint8_t { itRegimeNaoCumulativo = 0, itRegimeCumulativo = 1 };

struct TImposto {
  TImposto(int ACodigoImposto, int AVariacaoImposto) : CodigoImposto(ACodigoImposto), VariacaoImposto(AVariacaoImposto) {}
  int CodigoImposto;
  int VariacaoImposto;
};

class TnFisEFDGeradorCodigoImposto {
 public:
  TModoGeracao FModoGeracao = TModoGeracao::mgEmpresa;
  TTipoApuracao FTipoApuracao = TTipoApuracao::taNormal;
  int FTipoImposto = 15;
  TIncidenciaTrib FIncTributaria = itRegimeNaoCumulativo;

  TImposto CarregarImposto() const;
  TImposto CarregarImpostoPIS() const;
  TImposto CarregarImpostoCOFINS() const;
};
