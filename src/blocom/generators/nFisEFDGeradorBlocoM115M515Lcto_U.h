#pragma once
// M115/M515 dos lançamentos: detalhes por CST dos ajustes de crédito lançados, e um detalhe
// automático para todo ajuste com valor que ficou sem nenhum (as devoluções, por exemplo).
#include <string>
#include <vector>

#include "blocom/generators/nFisEFDGeradorBlocoM100M500_U.h"

struct TRecM115_515 {
  double DET_VALOR_AJ = 0;
  int CST = 0;
  double DET_BC_CRED = 0, DET_ALIQ = 0;
  std::string DT_OPER_AJ, DESC_AJ, COD_CTA, INFO_COMPL;
  double AliquotaM100_M500 = 0, AliquotaM100_M500Qtd = 0;
  std::string M100_M500_TipoCred;
  std::string M110_M510_IND_AJ, M110_M510_COD_AJ, M110_M510_NUM_DOC, M110_M510_DT_REF, M110_M510_DESCR_AJ;
  int TipoApuracao = 0;
  int Seq = 0, SeqAjuste = 0, SeqDebCred = 0;
};

class TnFisEFDGeradorM115_M515Lcto : public TnFisEFDGeradorM115_M515 {
 public:
  using TnFisEFDGeradorM115_M515::TnFisEFDGeradorM115_M515;
  void CarregarDados() override;

  std::string GetSQLAjusteDet() const;
  void CarregarLctoAjusteDet();
  void ProcessarM115_515(const TRecM115_515& ARec);
  void GerarM115_515(const TRecM115_515& ARec);
  void CarregarAjusteDetAuto();
  static void CriarAjusteDetAuto(TM110_510_220_620AjusteCredImp& AAjuste);
};
