#include "blocom/generators/nFisEFDGeradorBlocoM350M400_U.h"

#include "host/FieldMapper.h"
#include "host/FisFuncoes.h"
#include "base/Format.h"
#include "host/Nutildb.h"

namespace {
struct TMapFolha : TRowMap {
  PISCO_CAMPO(ALIQUOTA);
  PISCO_CAMPO(EXCLUSAO);
  PISCO_CAMPO(BASECALCULO);
  PISCO_CAMPO(VALORPISPASEP);
  PISCO_CAMPO(TOTALFOLHA);
};

struct TMapIsentas : TRowMap {
  PISCO_CAMPO(CST);
  PISCO_CAMPO(CONTACTB);
  PISCO_CAMPO(DESCRCOMPL);
  PISCO_CAMPO(TIPODEBITO);
  PISCO_CAMPO(VLREC);
};
}  // namespace

// --- M350 ---

std::string TnFisEFDGeradorM350Lcto::GetSqlFolha() {
  return Format(
      " SELECT  MIN(ALIQUOTA) ALIQUOTA,  cast(SUM(EXCLUSAO) as numeric(14,2)) as EXCLUSAO,  cast(SUM(BASECALCULO) as "
      "numeric(14,2)) as BASECALCULO,  cast(SUM(VALORPISPASEP) as numeric(14,2)) as VALORPISPASEP,  "
      "cast(SUM(TOTALFOLHA) as numeric(14,2)) as TOTALFOLHA  FROM %0:s  WHERE CODIGOEMPRESA = :PCODIGOEMPRESA  %1:s  "
      "AND PERIODO BETWEEN :PDATAINICIAL AND :PDATAFINAL ",
      {GetTabelaFolha(), GetFilterEstab("")});
}

void TnFisEFDGeradorM350Lcto::CarregarDados() {
  auto ds = ExecutarSQLInt(GetSqlFolha(), GetFiltroEmpresaPeriodo(), true, false, -1);
  TMapFolha m;
  FieldMapper().MapearFields(*ds, m);
  if (!ds->Eof()) {
    TRecM350 rec;
    rec.VL_TOT_FOL = m.TOTALFOLHA.AsFloat();
    rec.VL_EXC_BC = m.EXCLUSAO.AsFloat();
    rec.VL_TOT_BC = m.BASECALCULO.AsFloat();
    rec.ALIQ_PIS_FOL = m.ALIQUOTA.AsFloat();
    rec.VL_TOT_CONT_FOL = m.VALORPISPASEP.AsFloat();
    // Sem folha no período (todas as somas nulas ou zero) não há M350.
    if (rec.VL_TOT_FOL + rec.VL_EXC_BC + rec.VL_TOT_BC + rec.ALIQ_PIS_FOL + rec.VL_TOT_CONT_FOL != 0) GerarM350(rec);
  }
  Nutildb::DestruirSQL(ds);
}

void TnFisEFDGeradorM350Lcto::GerarM350(const TRecM350& ARec) {
  auto& m001 = Controle().GetRegistroM001(GetTipoApuracaoM350());
  if (!m001.FM350) m001.FM350 = std::make_unique<TM350FolhaSalarioPIS>();
  m001.FM350->VL_TOT_FOL = ARec.VL_TOT_FOL;
  m001.FM350->VL_EXC_BC = ARec.VL_EXC_BC;
  m001.FM350->VL_TOT_BC = ARec.VL_TOT_BC;
  m001.FM350->ALIQ_PIS_FOL = ARec.ALIQ_PIS_FOL;
  m001.FM350->VL_TOT_CONT_FOL = ARec.VL_TOT_CONT_FOL;
}

// --- M400/M800 e M410/M810 ---

void TnFisEFDGeradorM400_M800EFD::CriarGeradoresFilhos() { CriarFilho<TnFisEFDGeradorM410_M810EFD>(); }

TM400_800ReceitaIsentaList& TnFisEFDGeradorM410_M810::GetLstM400_800(TTipoApuracao ATipo) {
  auto& m001 = Controle().GetRegistroM001(ATipo);
  return FImposto == 15 ? m001.FM400List : m001.FM800List;
}

TM400_800ReceitaIsenta& TnFisEFDGeradorM410_M810::GetM400_800(TTipoApuracao ATipo, int ACst,
                                                               const std::string& AContaContabil) {
  auto& lista = GetLstM400_800(ATipo);
  const std::string chave = std::to_string(ACst) + ";" + AContaContabil;
  if (auto* existente = lista.TryGetValue(chave)) return *existente;
  auto reg = std::make_unique<TM400_800ReceitaIsenta>();
  reg->FCST = ACst;
  reg->FCOD_CTA = AContaContabil;
  return lista.Add(chave, std::move(reg));
}

void TnFisEFDGeradorM410_M810::GerarM410_810(const TRecM410_810& ARec) {
  auto& m400 = GetM400_800(ARec.TipoApuracao, ARec.CstMestre, ARec.COD_CTA);
  if (auto* existente = m400.FM410_810List.TryGetValue(ARec.NAT_REC))
    existente->VL_REC += ARec.VL_REC;
  else
    m400.FM410_810List.Add(ARec.NAT_REC, RecParaObj(ARec));
}

std::unique_ptr<TM410_810DetalRecIsenta> TnFisEFDGeradorM410_M810::RecParaObj(const TRecM410_810& ARec) {
  auto reg = std::make_unique<TM410_810DetalRecIsenta>();
  reg->NAT_REC = ARec.NAT_REC;
  reg->VL_REC = ARec.VL_REC;
  reg->COD_CTA = ARec.COD_CTA;
  reg->DESC_COMPL = ARec.DESC_COMPL;
  reg->TipoDebito = ARec.TipoDebito;
  return reg;
}

std::string TnFisEFDGeradorM410_M810EFD::GetSqlTotalIsentas() const {
  const bool empresa = GetModoGeracao() == TModoGeracao::mgEmpresa;
  const std::string tabela = empresa ? "TOTALEFDISENTAS" : "TOTALEFDISENTASESTAB";
  const std::string condicao = empresa ? "" : " AND CODIGOESTAB = :CODIGOESTAB ";
  return " SELECT  CST,  CODCTA CONTACTB,  DESCCOMPL DESCRCOMPL,  TIPODEBITO,  cast(SUM(VLREC)as numeric(16,2)) VLREC  "
         "FROM " +
         tabela + " WHERE CODIGOEMPRESA = :CODIGOEMPRESA " + condicao +
         " AND DATATOTAL BETWEEN :DATAINICIAL AND :DATAFINAL " + " AND TIPOIMPOSTO = :TIPOIMPOSTO " + " GROUP BY " +
         " CST, " + " TIPODEBITO, " + " CODCTA, " + " DESCCOMPL ";
}

TParams TnFisEFDGeradorM410_M810EFD::GetParams() const { return GetParamsTotalEFD(); }

void TnFisEFDGeradorM410_M810EFD::CarregarDados() {
  auto ds = Nutildb::ExecutarSQL(GetSqlTotalIsentas(), GetParams(), true, true, -1, "", nullptr, true);
  TMapIsentas m;
  FieldMapper().MapearFields(*ds, m);
  for (; !ds->Eof(); ds->Next()) {
    TRecM410_810 rec;
    rec.NAT_REC = TnFisFuncoes::GetCodigoTipoDebitoTipoCredito(m.TIPODEBITO.AsString());
    rec.VL_REC = m.VLREC.AsFloat();
    rec.COD_CTA = m.CONTACTB.AsString();
    rec.DESC_COMPL = m.DESCRCOMPL.AsString();
    rec.CstMestre = static_cast<int>(m.CST.AsInteger());
    rec.TipoDebito = m.TIPODEBITO.AsString();
    rec.TipoApuracao = TTipoApuracao::taEFD;
    GerarM410_810(rec);
  }
  Nutildb::DestruirSQL(ds);
}
