#include "blocom/control/nFisEFDControleBlocoM_U.h"

#include "host/LucroRealPresumido.h"
#include "host/OpcaoEFD.h"
#include "host/ProporcaoCreditos.h"

TnFisEFDControleBlocoM::TnFisEFDControleBlocoM()
    : FControleCredito(std::make_unique<TnFisEFDControleCredito>()),
      FProporcaoCredito(std::make_unique<TnFisProporcaoCreditos>()),
      FExtraApuracao(std::make_unique<TnFisEFDExtraApuracao>()) {}

TnFisEFDControleBlocoM::~TnFisEFDControleBlocoM() {
  // Ordem de liberação: resultados das SCP, depois os utilitários.
  FListaSCP.clear();
  FControleCredito.reset();
  FProporcaoCredito.reset();
  FExtraApuracao.reset();
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
  auto& e = *FExtraApuracao;
  e.FCodigoEmpresa = FConfigBlocoM.CodigoEmpresa;
  e.FCodigoEstab = FConfigBlocoM.CodigoEstab;
  // Na sub-execução de uma SCP a receita que rateia os ajustes é a da própria SCP.
  e.FCodigoEstabExtraApuracao = FConfigBlocoM.ModoGeracao == TModoGeracao::mgSCP
                                    ? FConfigBlocoM.CodigoEstab
                                    : FConfigBlocoM.CodigoEstabExtraApuracao;
  e.FDataInicial = FConfigBlocoM.DataInicial;
  e.FDataFinal = FConfigBlocoM.DataFinal;
  e.FModoGeracao = FConfigBlocoM.ModoGeracao;
  e.ExecutarExtraApuracao();
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
