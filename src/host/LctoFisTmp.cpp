#include "host/LctoFisTmp.h"

#include "host/CFOP.h"
#include "host/Database.h"
#include "host/FiltroEstab.h"
#include "host/Host.h"
#include "host/Servicos.h"

namespace {
const char* const ColunasTmp = "CODIGOEMPRESA, CODIGOESTAB, CHAVELCTOFISSAI, CODIGOPRODUTO, SEQ, DATALCTOFIS";
}

std::string TnFisUtilLctoFisTmp::GetSqlTempDevolucao(const std::string& ACodigoEstab, bool ARegimeCaixa) {
  std::string estab = CondicaoEstabelecimentos("LPC.CODIGOESTAB", ACodigoEstab);
  std::string periodo = "LPC.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL";
  if (ARegimeCaixa)
    periodo = "(" + periodo +
              " OR EXISTS (SELECT 1 FROM DUPLICATASAI DS JOIN DUPLICATASAIPGTO DSPP"
              " ON DSPP.CODIGOEMPRESA = DS.CODIGOEMPRESA AND DSPP.CHAVEDUPLICATASAI = DS.CHAVEDUPLICATASAI"
              " WHERE DS.CODIGOEMPRESA = LPC.CODIGOEMPRESA AND DS.CHAVELCTOFISSAI = LPC.CHAVELCTOFISSAI"
              " AND DSPP.DATAPGTO BETWEEN :DATAINICIAL AND :DATAFINAL))";
  return std::string("INSERT INTO LCTOFISTMP (") + ColunasTmp + ") SELECT LPC.CODIGOEMPRESA, LPC.CODIGOESTAB, "
         "LPC.CHAVELCTOFISSAI, LPC.CODIGOPRODUTO, LPC.SEQ, LPC.DATALCTOFIS "
         "FROM LCTOFISSAIPISCOFINS LPC WHERE LPC.CODIGOEMPRESA = :CODIGOEMPRESA" +
         (estab.empty() ? "" : " AND " + estab) + " AND " + periodo + " AND " +
         MontarFiltroCFOP(LstCFOPDevolucao(), "LPC.CODIGOCFOP");
}

void TnFisUtilLctoFisTmp::CarregarTempDevolucao(int ACodigoEmpresa, const std::string& ACodigoEstab,
                                                TDateTime ADataInicial, TDateTime ADataFinal, bool ARegimeCaixa) {
  THost& host = THost::Atual();
  TServicosHost& serv = host.Servicos();
  if (!serv.TempDevolucaoCriada) {
    // Temporária da conexão com os tipos das colunas de origem.
    host.Database().ExecutarScript(std::string("CREATE TEMP TABLE IF NOT EXISTS LCTOFISTMP AS SELECT ") + ColunasTmp +
                                   " FROM LCTOFISSAIPISCOFINS WHERE 1 = 0");
    serv.TempDevolucaoCriada = true;
  }
  LimparTempDevolucao();
  host.Database().Executar(GetSqlTempDevolucao(ACodigoEstab, ARegimeCaixa),
                           {TVariant(int64_t{ACodigoEmpresa}), VarDate(ADataInicial), VarDate(ADataFinal)});
}

void TnFisUtilLctoFisTmp::LimparTempDevolucao() {
  THost& host = THost::Atual();
  if (host.Servicos().TempDevolucaoCriada) host.Database().Executar("DELETE FROM LCTOFISTMP");
}

TnGuardaTempDevolucao::TnGuardaTempDevolucao(int ACodigoEmpresa, const std::string& ACodigoEstab,
                                             TDateTime ADataInicial, TDateTime ADataFinal, bool ARegimeCaixa) {
  try {
    TnFisUtilLctoFisTmp::CarregarTempDevolucao(ACodigoEmpresa, ACodigoEstab, ADataInicial, ADataFinal, ARegimeCaixa);
  } catch (...) {
    try {
      TnFisUtilLctoFisTmp::LimparTempDevolucao();
    } catch (...) {  // o erro da carga é o que importa a quem chamou
    }
    throw;
  }
}

TnGuardaTempDevolucao::~TnGuardaTempDevolucao() {
  try {
    TnFisUtilLctoFisTmp::LimparTempDevolucao();
  } catch (...) {  // destrutor não propaga: a falha de limpeza não esconde a da execução
  }
}
