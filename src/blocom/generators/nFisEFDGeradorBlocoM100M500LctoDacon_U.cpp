#include "blocom/generators/nFisEFDGeradorBlocoM100M500LctoDacon_U.h"

#include <map>

#include "base/Nutil.h"
#include "blocom/generators/nFisEFDGeradorBlocoM105M505Lcto_U.h"
#include "blocom/generators/nFisEFDGeradorBlocoM110M510LctoDacon_U.h"
#include "host/LucroRealPresumido.h"
#include "host/Nutildb.h"

void TnFisEFDGeradorM100_M500LctoDacon::CriarGeradoresFilhos() {
  CriarFilho<TnFisEFDGeradorM105_M505LctoDacon>();
  CriarFilho<TnFisEFDGeradorM110_M510LctoDacon>();
}

void TnFisEFDGeradorM100_M500LctoDacon::DepoisCarregarDadosFilhos() { CarregarTotalCredDescontarM100_500(); }

std::string TnFisEFDGeradorM100_M500LctoDacon::GetSqlTotalCredDescontar() const {
  // Os totais do lucro real são gravados por estabelecimento; a empresa inteira lê o da matriz.
  const int64_t estab = GetModoGeracao() == TModoGeracao::mgEmpresa
                            ? 1
                            : EstabComoInteiro(GetCodigoEstab());
  return std::string(" SELECT  T.IMPOSTO,  T.CODCRED,  SUM(T.VLCREDDESCEFD) VLCREDDESCEFD  FROM TOTALLUCROREALCREDSPED T "
                     " WHERE T.CODIGOEMPRESA = :CODIGOEMPRESA  AND T.CODIGOESTAB = ") +
         Nutil::ValorParaSQL(TVariant(estab)) + " AND T.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL " +
         " AND T.PERAPUCRED BETWEEN :DATAINICIAL AND :DATAFINAL " + " GROUP BY " + " T.IMPOSTO, " + " T.CODCRED ";
}

void TnFisEFDGeradorM100_M500LctoDacon::CarregarTotalCredDescontarM100_500() {
  std::map<std::string, double> descontar;
  auto ds = ExecutarSQLInt(GetSqlTotalCredDescontar(), GetFiltroEmpresaPeriodo(), false, false, -1);
  for (; !ds->Eof(); ds->Next())
    descontar[ds->FieldByName("IMPOSTO").AsString() + "|" + ds->FieldByName("CODCRED").AsString()] =
        ds->FieldByName("VLCREDDESCEFD").IsNull() ? 0 : ds->FieldByName("VLCREDDESCEFD").AsFloat();
  Nutildb::DestruirSQL(ds);
  // Na ordem das chaves: o total de um código cobre os registros até esgotar; o que sobra se perde.
  for (auto* reg : GetLstM100_500(TTipoApuracao::taNormal).GetListaOrdenada()) {
    auto pos = descontar.find(std::to_string(FImposto) + "|4.3.06." + reg->FCOD_CRED);
    if (pos == descontar.end()) continue;
    const double disp = reg->GetVL_CRED_DISP();
    if (Nutil::RoundValor(pos->second, 2) <= Nutil::RoundValor(disp, 2)) {
      reg->FVL_CRED_DESC = pos->second;
      descontar.erase(pos);
    } else {
      reg->FVL_CRED_DESC = disp;
      pos->second -= disp;
    }
  }
}
