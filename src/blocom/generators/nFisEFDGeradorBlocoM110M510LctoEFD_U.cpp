#include "blocom/generators/nFisEFDGeradorBlocoM110M510LctoEFD_U.h"

#include <cstdio>

#include "base/DateTime.h"
#include "base/Format.h"
#include "base/Nutil.h"
#include "host/DataSet.h"
#include "host/Nutildb.h"
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

void TnFisEFDGeradorM110_M510LctoEFD::DepoisCarregarDados() {
  auto ds = ExecutarSQLInt(GetSqlAjustesEFDSemDetalhe(GetTipoImposto(), 0, GetFilterEstab("AJ.")),
                           GetFiltroEmpresaPeriodo(), false, false, -1);
  AvisarAjustesEFDSemDetalhe(*this, *ds, GetTipoImposto(), GetNomeRegistro());
  Nutildb::DestruirSQL(ds);
}

std::string GetSqlAjustesEFDSemDetalhe(const std::string& AImposto, int ATipoAjuste, const std::string& AFiltroEstab) {
  return Format(" SELECT AJ.CODIGOESTAB, AJ.SEQ, AJ.DESCAJUSTE, AJ.VLRAJUSTE%0:s VLRAJUSTE FROM EFDAJUSTEPISCOFINS AJ "
                " WHERE AJ.CODIGOEMPRESA = :CODIGOEMPRESA AND AJ.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL "
                " AND AJ.TIPOAJUSTE = %1:s %2:s AND NOT EXISTS (SELECT 1 FROM EFDAJUSTEPISCOFINSDET D "
                " WHERE D.CODIGOEMPRESA = AJ.CODIGOEMPRESA AND D.CODIGOESTAB = AJ.CODIGOESTAB AND D.SEQAJUSTE = AJ.SEQ) "
                " ORDER BY AJ.CODIGOESTAB, AJ.SEQ ",
                {AImposto, std::to_string(ATipoAjuste), AFiltroEstab});
}

void AvisarAjustesEFDSemDetalhe(const TnFisEFDGeradorBlocoM& AGerador, TDataSet& ADataSet, const std::string& AImposto,
                                const std::string& ARegistro) {
  const std::string onde = AGerador.OndePeriodo();
  for (; !ADataSet.Eof(); ADataSet.Next()) {
    const double valor = Nutil::RoundValor(ADataSet.FieldByName("VLRAJUSTE").AsFloat(), 2);
    if (valor == 0) continue;
    char reais[64];
    std::snprintf(reais, sizeof reais, "%.2f", valor);
    std::string texto = reais;
    texto[texto.find('.')] = ',';
    AGerador.Avisar(onde + ": o ajuste " + ADataSet.FieldByName("SEQ").AsString() + " do estabelecimento " +
                    ADataSet.FieldByName("CODIGOESTAB").AsString() + " (" +
                    ADataSet.FieldByName("DESCAJUSTE").AsString() + ", R$ " + texto + " de " + AImposto +
                    ") não tem linha de detalhe e fica fora do " + ARegistro +
                    ": pelos lançamentos o valor do ajuste vem dos detalhes. Lance o detalhe por CST.");
  }
}
