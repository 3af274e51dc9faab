#pragma once
// Variante dos totais já apurados pela EFD.
#include "blocom/control/nFisRepositorioEFDBlocoM_U.h"

// Totais já apurados (tabelas TOTALEFD...).
class TnFisRepositorioEFDBlocoMEFD : public TnFisRepositorioEFDBlocoM {
 public:
  using TnFisRepositorioEFDBlocoM::TnFisRepositorioEFDBlocoM;

 protected:
  void ConfigurarControleBlocoM() override;
  void CriarGeradores() override;
  void AntesCarregarDados() override;
  std::unique_ptr<TnFisRepositorioEFDBlocoM> CriarMesmaClasse() const override;
};
