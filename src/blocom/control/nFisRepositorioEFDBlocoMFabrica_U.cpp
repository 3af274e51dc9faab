#include "blocom/control/nFisRepositorioEFDBlocoMFabrica_U.h"

#include "blocom/control/nFisRepositorioEFDBlocoMEFD_U.h"
#include "blocom/control/nFisRepositorioEFDBlocoMLcto_U.h"
#include "host/OpcaoEFD.h"

std::unique_ptr<TnFisRepositorioEFDBlocoM> TnFisRepositorioEFDBlocoMFabrica::CriarRepositorio(int32_t ACodigoEmpresa,
                                                                                              int32_t ACodigoEstab,
                                                                                              TDateTime AData,
                                                                                              bool AGerarLancamentos) {
  ControleOpcaoEFD().Configurar(ACodigoEmpresa, ACodigoEstab, AData);
  const auto forma =
      AGerarLancamentos ? TFormaCarregarProporcao::fpExecutarProporcao : TFormaCarregarProporcao::fpCarregarBanco;
  if (!ControleOpcaoEFD().GetEhOptanteEFD()) return std::make_unique<TnFisRepositorioEFDBlocoMLctoDacon>(forma);
  if (AGerarLancamentos) return std::make_unique<TnFisRepositorioEFDBlocoMLctoEFD>(forma);
  return std::make_unique<TnFisRepositorioEFDBlocoMEFD>(forma);
}
