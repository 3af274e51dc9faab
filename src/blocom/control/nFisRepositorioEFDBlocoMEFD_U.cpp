#include "blocom/control/nFisRepositorioEFDBlocoMEFD_U.h"

#include "blocom/generators/nFisEFDGeradorBlocoM100M500_U.h"
#include "blocom/generators/nFisEFDGeradorBlocoM200M600_U.h"
#include "blocom/generators/nFisEFDGeradorBlocoM350M400_U.h"
#include "host/OpcaoEFD.h"


void TnFisRepositorioEFDBlocoMEFD::AntesCarregarDados() {
  PosicionarOpcaoEFD();
  TnFisRepositorioEFDBlocoM::AntesCarregarDados();
}

void TnFisRepositorioEFDBlocoMEFD::ConfigurarControleBlocoM() {
  TnFisRepositorioEFDBlocoM::ConfigurarControleBlocoM();
  const int inc = ControleOpcaoEFD().GetIncTributaria();
  FControleBlocoM->FDeveProcessarCreditos = inc == 1 || inc == 3;
}

void TnFisRepositorioEFDBlocoMEFD::CriarGeradores() {
  auto& c = *FControleBlocoM;
  using G = TnFisEFDGeradorBlocoM;
  FGeradorM100 = G::Criar<TnFisEFDGeradorM100_M500EFD>(c, 15);
  FGeradorM200 = G::Criar<TnFisEFDGeradorM200_M600EFD>(c, 15);
  FGeradorM350 = G::Criar<TnFisEFDGeradorM350EFD>(c, 15);
  FGeradorM400 = G::Criar<TnFisEFDGeradorM400_M800EFD>(c, 15);
  FGeradorM500 = G::Criar<TnFisEFDGeradorM100_M500EFD>(c, 16);
  FGeradorM600 = G::Criar<TnFisEFDGeradorM200_M600EFD>(c, 16);
  FGeradorM800 = G::Criar<TnFisEFDGeradorM400_M800EFD>(c, 16);
}

std::unique_ptr<TnFisRepositorioEFDBlocoM> TnFisRepositorioEFDBlocoMEFD::CriarMesmaClasse() const {
  return std::make_unique<TnFisRepositorioEFDBlocoMEFD>(TFormaCarregarProporcao::fpExecutarProporcao);
}
