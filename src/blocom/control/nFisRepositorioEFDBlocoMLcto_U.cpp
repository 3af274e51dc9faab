#include "blocom/control/nFisRepositorioEFDBlocoMLcto_U.h"

#include "blocom/generators/nFisEFDGeradorBlocoM100M500LctoDacon_U.h"
#include "blocom/generators/nFisEFDGeradorBlocoM100M500LctoEFD_U.h"
#include "blocom/generators/nFisEFDGeradorBlocoM200M600Lcto_U.h"
#include "blocom/generators/nFisEFDGeradorBlocoM350M400Lcto_U.h"
#include "blocom/generators/nFisEFDGeradorBlocoM350M400_U.h"
#include "host/LucroRealPresumido.h"
#include "host/OpcaoEFD.h"

// --- optantes da EFD ---

void TnFisRepositorioEFDBlocoMLctoEFD::AntesCarregarDados() {
  PosicionarOpcaoEFD();
  TnFisRepositorioEFDBlocoM::AntesCarregarDados();
}

void TnFisRepositorioEFDBlocoMLctoEFD::ConfigurarControleBlocoM() {
  TnFisRepositorioEFDBlocoM::ConfigurarControleBlocoM();
  // Incidência só cumulativa (2) não tem crédito a apurar.
  const int inc = ControleOpcaoEFD().GetIncTributaria();
  FControleBlocoM->FDeveProcessarCreditos = inc == 1 || inc == 3;
}

void TnFisRepositorioEFDBlocoMLctoEFD::CriarGeradores() {
  auto& c = *FControleBlocoM;
  using G = TnFisEFDGeradorBlocoM;
  FGeradorM100 = G::Criar<TnFisEFDGeradorM100_M500LctoEFD>(c, 15);
  FGeradorM200 = G::Criar<TnFisEFDGeradorM200_M600LctoEFD>(c, 15);
  FGeradorM350 = G::Criar<TnFisEFDGeradorM350LctoEFD>(c, 15);
  FGeradorM400 = G::Criar<TnFisEFDGeradorM400_M800Lcto>(c, 15);
  FGeradorM500 = G::Criar<TnFisEFDGeradorM100_M500LctoEFD>(c, 16);
  FGeradorM600 = G::Criar<TnFisEFDGeradorM200_M600LctoEFD>(c, 16);
  FGeradorM800 = G::Criar<TnFisEFDGeradorM400_M800Lcto>(c, 16);
}

std::unique_ptr<TnFisRepositorioEFDBlocoM> TnFisRepositorioEFDBlocoMLctoEFD::CriarMesmaClasse() const {
  return std::make_unique<TnFisRepositorioEFDBlocoMLctoEFD>(TFormaCarregarProporcao::fpExecutarProporcao);
}

// --- demais empresas: lucro real ou presumido ---

void TnFisRepositorioEFDBlocoMLctoDacon::ConfigurarControleBlocoM() {
  TnFisRepositorioEFDBlocoM::ConfigurarControleBlocoM();
  VerificarLucroReal();
  VerificarLucroPresumido();
  // O presumido é cumulativo: não há crédito a apurar.
  FControleBlocoM->FDeveProcessarCreditos = !FControleBlocoM->FDadosDacon.OptanteLucroPres;
}

void TnFisRepositorioEFDBlocoMLctoDacon::VerificarLucroReal() {
  auto& lr = ControleLucroReal();
  lr.SetCodigoEmpresa(FConfigBlocoM.CodigoEmpresa);
  lr.SetDataInicial(FConfigBlocoM.DataInicial);
  lr.SetDataFinal(FConfigBlocoM.DataFinal);
  const TDateTime data = lr.ProcurarDataOpcao(FConfigBlocoM.DataFinal);
  auto& dacon = FControleBlocoM->FDadosDacon;
  dacon.OptanteLucroReal = lr.ApuraLucroReal(data);
  if (dacon.OptanteLucroReal) dacon.DataOpcao = data;
}

void TnFisRepositorioEFDBlocoMLctoDacon::VerificarLucroPresumido() {
  auto& lp = ControleLucroPresumido();
  lp.SetCodigoEmpresa(FConfigBlocoM.CodigoEmpresa);
  lp.SetDataInicial(FConfigBlocoM.DataInicial);
  lp.SetDataFinal(FConfigBlocoM.DataFinal);
  const TDateTime data = lp.ProcurarDataOpcao(FConfigBlocoM.DataFinal);
  auto& dacon = FControleBlocoM->FDadosDacon;
  dacon.OptanteLucroPres = lp.ApuraLucroPresumido(data);
  if (dacon.OptanteLucroPres) dacon.DataOpcao = data;
}

void TnFisRepositorioEFDBlocoMLctoDacon::CriarGeradores() {
  auto& c = *FControleBlocoM;
  using G = TnFisEFDGeradorBlocoM;
  FGeradorM100 = G::Criar<TnFisEFDGeradorM100_M500LctoDacon>(c, 15);
  FGeradorM200 = G::Criar<TnFisEFDGeradorM200_M600LctoDacon>(c, 15);
  FGeradorM350 = G::Criar<TnFisEFDGeradorM350LctoDacon>(c, 15);
  FGeradorM400 = G::Criar<TnFisEFDGeradorM400_M800Lcto>(c, 15);
  FGeradorM500 = G::Criar<TnFisEFDGeradorM100_M500LctoDacon>(c, 16);
  FGeradorM600 = G::Criar<TnFisEFDGeradorM200_M600LctoDacon>(c, 16);
  FGeradorM800 = G::Criar<TnFisEFDGeradorM400_M800Lcto>(c, 16);
}

std::unique_ptr<TnFisRepositorioEFDBlocoM> TnFisRepositorioEFDBlocoMLctoDacon::CriarMesmaClasse() const {
  return std::make_unique<TnFisRepositorioEFDBlocoMLctoDacon>(TFormaCarregarProporcao::fpExecutarProporcao);
}
