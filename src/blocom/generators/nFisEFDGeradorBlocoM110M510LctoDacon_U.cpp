#include "blocom/generators/nFisEFDGeradorBlocoM110M510LctoDacon_U.h"

#include "base/Format.h"
#include "blocom/control/nFisEFDControleBlocoM_U.h"
#include "host/LucroRealPresumido.h"

int TnFisEFDGeradorM110_M510LctoDacon::GetCSTAjusteCredito() {
  return ControleLucroReal().CSTAjusteCredito(Controle().FDadosDacon.DataOpcao);
}

std::string TnFisEFDGeradorM110_M510LctoDacon::GetSqlLctoAjuste() {
  return Format(" SELECT AJ.INDAJUSTE, 0 TIPOAPURACAO, 0 QUANTIDADE, AJ.ALIQAJUSTE%0:s ALIQUOTA, "
                " AJ.VLRAJUSTE%0:s VLRAJUSTE, AJ.NATAJUSTE, AJ.CODIGOAJUSTE, AJ.NUMPROCESSO, AJ.DESCAJUSTE, "
                " AJ.DATALCTOFIS, 0 CST, '' CONTACTB FROM LUCROREALAJUSTEPISCOFINS AJ "
                " WHERE AJ.CODIGOEMPRESA = :CODIGOEMPRESA "
                " AND AJ.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL "
                " AND AJ.TIPOAJUSTE = 0 %1:s ORDER BY AJ.CODIGOESTAB, AJ.SEQ ",
                {GetTipoImposto(), GetFilterEstab("AJ.")});
}
