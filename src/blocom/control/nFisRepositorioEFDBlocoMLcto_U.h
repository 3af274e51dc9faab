#pragma once
// Variantes que calculam o Bloco M a partir dos lançamentos fiscais: LctoEFD para as optantes
// da EFD, LctoDacon para as demais (lucro real ou presumido). A base comum nunca é criada.
#include "blocom/control/nFisRepositorioEFDBlocoM_U.h"

class TnFisRepositorioEFDBlocoMLcto : public TnFisRepositorioEFDBlocoM {
 public:
  using TnFisRepositorioEFDBlocoM::TnFisRepositorioEFDBlocoM;
};

class TnFisRepositorioEFDBlocoMLctoEFD : public TnFisRepositorioEFDBlocoMLcto {
 public:
  using TnFisRepositorioEFDBlocoMLcto::TnFisRepositorioEFDBlocoMLcto;

 protected:
  void ConfigurarControleBlocoM() override;
  void CriarGeradores() override;
  void AntesCarregarDados() override;
  std::unique_ptr<TnFisRepositorioEFDBlocoM> CriarMesmaClasse() const override;
};

class TnFisRepositorioEFDBlocoMLctoDacon : public TnFisRepositorioEFDBlocoMLcto {
 public:
  using TnFisRepositorioEFDBlocoMLcto::TnFisRepositorioEFDBlocoMLcto;

 protected:
  void ConfigurarControleBlocoM() override;
  void CriarGeradores() override;
  std::unique_ptr<TnFisRepositorioEFDBlocoM> CriarMesmaClasse() const override;

 private:
  void VerificarLucroReal();
  void VerificarLucroPresumido();
};
