#pragma once
#include "blocks/nArqRepositorioSPEDPisCofinsBlocoF_U.h"

// Textos detalhados (com complemento, participante e item) de F500, F525, F525 caixa e F550.
class TnArqRepositorioSPEDPisCofinsBlocoFDetalhado : public TnArqRepositorioSPEDPisCofinsBlocoF {
 public:
  std::string GetSqlF500(const TnParansBlocoF& AParans) const override;
  std::string GetSqlF525(const TnParansBlocoF& AParans) const override;
  std::string GetSqlF525RegCaixa(const TnParansBlocoF& AParans) const override;
  std::string GetSqlF550(const TnParansBlocoF& AParans) const override;
};
