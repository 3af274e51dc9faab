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

namespace {
// Temporária da conexão com os tipos das colunas de origem. Sempre com IF NOT EXISTS: uma
// transação desfeita leva junto a criação, e a tabela precisa voltar.
void GarantirTemporaria(THost& AHost) {
  AHost.Database().ExecutarScript(std::string("CREATE TEMP TABLE IF NOT EXISTS LCTOFISTMP AS SELECT ") + ColunasTmp +
                                  " FROM LCTOFISSAIPISCOFINS WHERE 1 = 0");
  // As consultas de receita excluem as devoluções por junção na chave do item: sem índice,
  // cada item do período varreria a tabela inteira.
  AHost.Database().ExecutarScript(
      "CREATE INDEX IF NOT EXISTS IXLCTOFISTMP ON LCTOFISTMP (CODIGOEMPRESA, CHAVELCTOFISSAI, CODIGOPRODUTO, SEQ)");
  AHost.Servicos().TempDevolucaoCriada = true;
}
}  // namespace

void TnFisUtilLctoFisTmp::CarregarTempDevolucao(int ACodigoEmpresa, const std::string& ACodigoEstab,
                                                TDateTime ADataInicial, TDateTime ADataFinal, bool ARegimeCaixa) {
  THost& host = THost::Atual();
  std::string sql = GetSqlTempDevolucao(ACodigoEstab, ARegimeCaixa);  // valida antes de mexer na tabela
  GarantirTemporaria(host);
  host.Database().Executar("DELETE FROM LCTOFISTMP");
  host.Database().Executar(sql, {TVariant(int64_t{ACodigoEmpresa}), VarDate(ADataInicial), VarDate(ADataFinal)});
}

void TnFisUtilLctoFisTmp::LimparTempDevolucao() {
  THost& host = THost::Atual();
  if (!host.Servicos().TempDevolucaoCriada) return;  // nada foi carregado nesta conexão
  GarantirTemporaria(host);
  host.Database().Executar("DELETE FROM LCTOFISTMP");
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

void TnGuardaTempDevolucao::Liberar() {
  TnFisUtilLctoFisTmp::LimparTempDevolucao();
  FLiberada = true;
}

TnGuardaTempDevolucao::~TnGuardaTempDevolucao() {
  if (FLiberada) return;
  try {
    TnFisUtilLctoFisTmp::LimparTempDevolucao();
  } catch (...) {  // destrutor não propaga: a falha de limpeza não esconde a da execução
  }
}
