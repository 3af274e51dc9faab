#include "host/PatServicosDACON.h"

#include "host/Database.h"
#include "host/FiltroEstab.h"
#include "host/Host.h"
#include "host/LeituraCampos.h"

using namespace NLeituraCampos;

std::string TnPatServicosDACON::GetSqlCreditosDacon(const std::string& ACodigoEstab) {
  std::string estab = CondicaoEstabelecimentos("C.CODIGOESTAB", ACodigoEstab);
  // Configuração do bem em vigor no mês do crédito (a de maior DATAINICIAL até PERIODO, sem
  // DATAFINAL anterior a ele); o crédito traz CST e alíquotas próprios, a configuração o
  // tipo de crédito DACON e o tipo de apuração.
  return "SELECT C.CODIGOESTAB, C.NUMEROBEM, B.DESCRICAOBEM, B.ORIGEMBEM, CF.TIPODACONCREDITO, "
         "CF.TIPOAPURACAO, C.CSTPIS, C.CSTCOFINS, C.QUOTAMENSAL, C.ALIQPIS, C.ALIQCOFINS, "
         "C.CREDITOPIS, C.CREDITOCOFINS, C.PERIODO "
         "FROM PATCREDITODACON C "
         "JOIN PATBEM B ON B.CODIGOEMPRESA = C.CODIGOEMPRESA AND B.NUMEROBEM = C.NUMEROBEM "
         "JOIN PATCFGDACON CF ON CF.CODIGOEMPRESA = C.CODIGOEMPRESA AND CF.NUMEROBEM = C.NUMEROBEM "
         "AND CF.DATAINICIAL = (SELECT MAX(CF2.DATAINICIAL) FROM PATCFGDACON CF2 "
         "WHERE CF2.CODIGOEMPRESA = C.CODIGOEMPRESA AND CF2.NUMEROBEM = C.NUMEROBEM "
         "AND CF2.DATAINICIAL <= C.PERIODO AND (CF2.DATAFINAL IS NULL OR CF2.DATAFINAL >= C.PERIODO)) "
         "WHERE C.CODIGOEMPRESA = :CODIGOEMPRESA" +
         (estab.empty() ? std::string() : " AND " + estab) +
         " AND C.PERIODO BETWEEN :DATAINICIAL AND :DATAFINAL ORDER BY C.CODIGOESTAB, C.NUMEROBEM, C.PERIODO";
}

std::vector<TnPatCreditoDacon> TnPatServicosDACON::CreditosDaconPeriodo(int ACodigoEmpresa,
                                                                       const std::string& ACodigoEstab,
                                                                       TDateTime ADataInicial,
                                                                       TDateTime ADataFinal) {
  auto ds = THost::Atual().Database().Abrir(GetSqlCreditosDacon(ACodigoEstab),
                                            {TVariant(int64_t{ACodigoEmpresa}), VarDate(ADataInicial),
                                             VarDate(ADataFinal)});
  std::vector<TnPatCreditoDacon> itens;
  for (; !ds->Eof(); ds->Next()) {
    TnPatCreditoDacon c;
    c.CodigoEstab = Inteiro(*ds, "CODIGOESTAB", 0);
    c.NumeroBem = Inteiro(*ds, "NUMEROBEM", 0);
    c.DescricaoBem = Texto(*ds, "DESCRICAOBEM");
    c.OrigemBem = Inteiro(*ds, "ORIGEMBEM", 0);
    c.TipoDaconCredito = Inteiro(*ds, "TIPODACONCREDITO", 0);
    c.TipoApuracao = Inteiro(*ds, "TIPOAPURACAO", 0);
    c.CSTPIS = Inteiro(*ds, "CSTPIS", 0);
    c.CSTCOFINS = Inteiro(*ds, "CSTCOFINS", 0);
    c.QuotaMensal = Real(*ds, "QUOTAMENSAL", 0);
    c.AliquotaPis = Real(*ds, "ALIQPIS", 0);
    c.AliquotaCofins = Real(*ds, "ALIQCOFINS", 0);
    c.CreditoPis = Real(*ds, "CREDITOPIS", 0);
    c.CreditoCofins = Real(*ds, "CREDITOCOFINS", 0);
    itens.push_back(std::move(c));
  }
  return itens;
}
