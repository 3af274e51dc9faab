#pragma once
#include "blocks/nArqRepositorioSPEDPisCofinsBlocoF_U.h"

// Textos consolidados (sem complemento, participante e item) de F500, F525, F525 caixa e F550.
class TnArqRepositorioSPEDPisCofinsBlocoFConsolidado : public TnArqRepositorioSPEDPisCofinsBlocoF {
 public:
  std::string GetSqlF500(const TnParansBlocoF& AParans) const override;
  std::string GetSqlF525(const TnParansBlocoF& AParans) const override;
  std::string GetSqlF525RegCaixa(const TnParansBlocoF& AParans) const override;
  std::string GetSqlF550(const TnParansBlocoF& AParans) const override;
};
