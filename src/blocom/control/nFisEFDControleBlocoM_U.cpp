#include "blocom/control/nFisEFDControleBlocoM_U.h"

#include "host/LucroRealPresumido.h"
#include "host/OpcaoEFD.h"
#include "host/ProporcaoCreditos.h"

TnFisEFDControleBlocoM::TnFisEFDControleBlocoM()
    : FControleCredito(std::make_unique<TnFisEFDControleCredito>()),
      FProporcaoCredito(std::make_unique<TnFisProporcaoCreditos>()) {}

TnFisEFDControleBlocoM::~TnFisEFDControleBlocoM() {
  // Ordem de liberação: resultados das SCP, depois os utilitários.
  FListaSCP.clear();
  FControleCredito.reset();
  FProporcaoCredito.reset();
}

void TnFisEFDControleBlocoM::CarregarUtilitarios() {
  CarregarControleCredito();
  CarregarProporcaoCredito();
  CarregarExtraApuracao();
}

void TnFisEFDControleBlocoM::CarregarControleCredito() {
  if (!ControleOpcaoEFD().GetEhOptanteEFD()) return;
  FControleCredito->SetConfigBlocoM(FConfigBlocoM);
  if (FDeveProcessarCreditos) FControleCredito->CarregarCreditosPeriodo();
  FControleCredito->CarregarRetidosPeriodo();
}

void TnFisEFDControleBlocoM::CarregarProporcaoCredito() {
  if (!FDeveProcessarCreditos) return;
  TnFisPropCreditoParans parans(FConfigBlocoM.CodigoEmpresa, FConfigBlocoM.CodigoEstab, FConfigBlocoM.DataInicial,
                                FConfigBlocoM.DataFinal, FConfigBlocoM.ModoGeracao == TModoGeracao::mgEmpresa,
                                GetProporcaoRecCum());
  FProporcaoCredito->SetParans(parans);
  if (FFormaCarregarProporcao == TFormaCarregarProporcao::fpCarregarBanco)
    FProporcaoCredito->CarregarProporcaoCreditos();
  else
    FProporcaoCredito->ExecutarProporcaoCreditos();
}

void TnFisEFDControleBlocoM::CarregarExtraApuracao() {
  // A apuração extra (ajustes da base por CST) ainda não faz parte do pisco; só os
  // geradores a partir dos lançamentos a consultam.
}

int TnFisEFDControleBlocoM::GetProporcaoRecCum() {
  if (FDadosDacon.OptanteLucroReal) return ControleLucroReal().ProporcaoRecCum(FDadosDacon.DataOpcao);
  if (ControleOpcaoEFD().GetEhOptanteEFD()) return ControleOpcaoEFD().GetProporcaoRecCum();
  return 0;
}

TM001AberturaBloco& TnFisEFDControleBlocoM::GetRegistroM001(TTipoApuracao ATipo) {
  auto& mapa = *FLstRegistroM001;
  auto pos = mapa.find(ATipo);
  if (pos == mapa.end()) pos = mapa.emplace(ATipo, std::make_unique<TM001AberturaBloco>()).first;
  return *pos->second;
}

double TnFisEFDControleBlocoM::GetValorCreditoCst(int ACst, int ACampo) {
  return FProporcaoCredito->GetValorCreditoCst(ACst, ACampo);
}
