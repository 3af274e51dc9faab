#include "blocom/generators/nFisEFDGeradorBlocoM110M510LctoEFD_U.h"

#include "base/Format.h"
#include "blocom/generators/nFisEFDGeradorBlocoM115M515Lcto_U.h"
#include "host/OpcaoEFD.h"

void TnFisEFDGeradorM110_M510LctoEFD::CriarGeradoresFilhos() { CriarFilho<TnFisEFDGeradorM115_M515Lcto>(); }

int TnFisEFDGeradorM110_M510LctoEFD::GetCSTAjusteCredito() { return ControleOpcaoEFD().GetCSTAjusteCredito(); }

// O valor do ajuste fica zerado aqui: é a soma dos detalhes, que o M115/M515 pendura depois.
std::string TnFisEFDGeradorM110_M510LctoEFD::GetSqlLctoAjuste() {
  return Format(" SELECT AJ.INDAJUSTE, AJ.TIPOAPURACAO, D.QUANTIDADE, AJ.ALIQAJUSTE%0:s ALIQUOTA, 0 VLRAJUSTE, "
                " AJ.NATAJUSTE, AJ.CODIGOAJUSTE, AJ.NUMPROCESSO, AJ.DESCAJUSTE, AJ.DATALCTOFIS, D.CST%0:s CST, "
                " D.CONTACTB FROM EFDAJUSTEPISCOFINS AJ "
                " JOIN EFDAJUSTEPISCOFINSDET D ON D.CODIGOEMPRESA = AJ.CODIGOEMPRESA "
                " AND D.CODIGOESTAB = AJ.CODIGOESTAB AND D.SEQAJUSTE = AJ.SEQ "
                " WHERE AJ.CODIGOEMPRESA = :CODIGOEMPRESA "
                " AND AJ.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL "
                " AND AJ.TIPOAJUSTE = 0 %1:s ORDER BY AJ.CODIGOESTAB, AJ.SEQ, D.SEQ ",
                {GetTipoImposto(), GetFilterEstab("AJ.")});
}
