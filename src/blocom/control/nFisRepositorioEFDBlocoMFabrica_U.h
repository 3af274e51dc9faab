#pragma once
// Fábrica: escolhe a variante do repositório do Bloco M.
#include <cstdint>
#include <memory>

#include "blocom/control/nFisRepositorioEFDBlocoM_U.h"

class TnFisRepositorioEFDBlocoMFabrica {
 public:
  // Escolhe a variante pela opção da EFD da empresa e pelo pedido de gerar dos lançamentos.
  static std::unique_ptr<TnFisRepositorioEFDBlocoM> CriarRepositorio(int32_t ACodigoEmpresa, int32_t ACodigoEstab,
                                                                     TDateTime AData, bool AGerarLancamentos);
};
