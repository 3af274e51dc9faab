#include "blocom/generators/nFisEFDGeradorBlocoM110M510Lcto_U.h"

#include <deque>

#include "base/Format.h"
#include "base/Nutil.h"
#include "base/TextoUTF8.h"
#include "blocom/generators/nFisEFDGeradorBlocoM100M500Lcto_U.h"
#include "host/CFOP.h"
#include "host/FieldMapper.h"
#include "host/FisFuncoes.h"
#include "host/Nutildb.h"

namespace {
struct TMapLctoAjuste : TRowMap {
  PISCO_CAMPO(TIPOAPURACAO);
  PISCO_CAMPO(INDAJUSTE);
  PISCO_CAMPO(QUANTIDADE);
  PISCO_CAMPO(ALIQUOTA);
  PISCO_CAMPO(VLRAJUSTE);
  PISCO_CAMPO(NATAJUSTE);
  PISCO_CAMPO(CODIGOAJUSTE);
  PISCO_CAMPO(NUMPROCESSO);
  PISCO_CAMPO(DESCAJUSTE);
  PISCO_CAMPO(DATALCTOFIS);
  PISCO_CAMPO(CST);
  PISCO_CAMPO(CONTACTB);
};
struct TMapSaidaDev : TRowMap {
  PISCO_CAMPO(CHAVELCTOFISSAI);
  PISCO_CAMPO(SEQ);
  PISCO_CAMPO(CODIGOPRODUTO);
  PISCO_CAMPO(DACONTIPORECEITA);
  PISCO_CAMPO(NUMERONF);
  PISCO_CAMPO(COMPLHIST);
  PISCO_CAMPO(DATALCTOFIS);
  PISCO_CAMPO(CODIGOCFOP);
  PISCO_CAMPO(ALIQUOTA);
  PISCO_CAMPO(TIPODEBITO);
  PISCO_CAMPO(QUANTIDADE);
  PISCO_CAMPO(BASECALCULOPISCOFINS);
  PISCO_CAMPO(CST);
  PISCO_CAMPO(CONTACTBEFD);
};
struct TMapEntrada : TRowMap {
  PISCO_CAMPO(CHAVELCTOFISSAI);
  PISCO_CAMPO(CODIGOPRODUTO);
  PISCO_CAMPO(SEQ);
  PISCO_CAMPO(TIPOCREDITO);
  PISCO_CAMPO(CST);
  PISCO_CAMPO(CODIGOCFOP);
  PISCO_CAMPO(ALIQUOTA);
};

// Quatro primeiros caracteres do CFOP como número (0 quando não é número).
int CFOPQuatro(const std::string& ACfop) {
  const std::string s = ACfop.substr(0, 4);
  if (s.empty() || s.find_first_not_of("0123456789") != std::string::npos) return 0;
  return std::stoi(s);
}
}  // namespace

std::string DescricaoAjusteLcto(std::string ATexto) {
  TextoUTF8::Cortar(ATexto, 100);
  return ATexto;
}

std::string ChaveAjusteLcto(const std::string& AIndAj, const std::string& ACodAj, const std::string& ANumDoc,
                            const std::string& ADtRef, const std::string& ADescrAj) {
  return AIndAj + "|" + ACodAj + "|" + ANumDoc + "|" + ADtRef + "|" + ADescrAj;
}

void TnFisEFDGeradorM110_M510Lcto::CarregarDados() {
  CarregarLctoAjuste();
  CarregarDevolucao();
}

void TnFisEFDGeradorM110_M510Lcto::CarregarLctoAjuste() {
  auto ds = ExecutarSQLInt(GetSqlLctoAjuste(), GetFiltroEmpresaPeriodo(), false, false, -1);
  TMapLctoAjuste m;
  FieldMapper().MapearFields(*ds, m);
  for (; !ds->Eof(); ds->Next()) {
    TRecM110_510 r;
    r.IND_AJ = m.INDAJUSTE.AsString();
    r.VL_AJ = m.VLRAJUSTE.AsFloat();
    r.COD_AJ = TnFisFuncoes::GetCodigoTipoDebitoTipoCredito(m.CODIGOAJUSTE.AsString());
    r.NUM_DOC = m.NUMPROCESSO.AsString();
    r.DESCR_AJ = DescricaoAjusteLcto(m.DESCAJUSTE.AsString());
    r.DT_REF = DataTotalEFD(m.DATALCTOFIS);
    r.CST = static_cast<int>(m.CST.AsInteger());
    r.COD_CTA = m.CONTACTB.AsString();
    r.TipoCredM100_M500 = TnFisFuncoes::GetCodigoTipoDebitoTipoCredito(m.NATAJUSTE.AsString());
    if (m.QUANTIDADE.AsFloat() > 0)
      r.AliquotaM100_M500Qtd = m.ALIQUOTA.AsFloat();
    else
      r.AliquotaM100_M500 = m.ALIQUOTA.AsFloat();
    r.TipoApuracao = GetTipoApuracao(static_cast<int>(m.TIPOAPURACAO.AsInteger()));
    ProcessarM110_510(r);
  }
  Nutildb::DestruirSQL(ds);
}

std::vector<TRecM110_510> TnFisEFDGeradorM110_M510Lcto::SepararPorCST(const TRecM110_510& ARec) {
  const auto& seletores = SeletoresReceitaCST(ARec.CST);
  if (seletores.empty()) return {ARec};
  std::vector<TRecM110_510> r;
  for (int sel : seletores) {
    TRecM110_510 parte = ARec;
    parte.TipoCredM100_M500 = GetTipoCreditoReceita(ARec.TipoCredM100_M500, sel);
    r.push_back(std::move(parte));
  }
  return r;
}

void TnFisEFDGeradorM110_M510Lcto::AplicarProporcoes(std::vector<TRecM110_510>& ALista) {
  for (auto& r : ALista)
    if (EhCSTComum(r.CST)) r.VL_AJ = Nutil::RoundValor(r.VL_AJ * GetProporcao(r.CST, r.TipoCredM100_M500), 2);
}

void TnFisEFDGeradorM110_M510Lcto::ProcessarM110_510(const TRecM110_510& ARec) {
  auto lista = SepararPorCST(ARec);
  AplicarProporcoes(lista);
  for (const auto& r : lista) GerarM110_510(r);
}

void TnFisEFDGeradorM110_M510Lcto::GerarM110_510(const TRecM110_510& ARec) {
  // Ajuste de um crédito que o período não gerou não tem onde ficar: é descartado.
  auto* pai = ProcurarCreditoLcto(Controle(), FImposto, ARec.TipoApuracao,
                                  ChaveCreditoLcto(ARec.TipoCredM100_M500, ARec.AliquotaM100_M500,
                                                   ARec.AliquotaM100_M500Qtd, 0));
  if (!pai) return;
  const std::string chave = ChaveAjusteLcto(ARec.IND_AJ, ARec.COD_AJ, ARec.NUM_DOC, ARec.DT_REF, ARec.DESCR_AJ);
  if (auto* aj = pai->FM110_510List.TryGetValue(chave)) {
    aj->FVL_AJ = aj->GetVL_AJ() + ARec.VL_AJ;
    return;
  }
  auto aj = std::make_unique<TM110_510_220_620AjusteCredImp>();
  aj->FIND_AJ = ARec.IND_AJ;
  aj->FVL_AJ = ARec.VL_AJ;
  aj->FCOD_AJ = ARec.COD_AJ;
  aj->FNUM_DOC = ARec.NUM_DOC;
  aj->FDESCR_AJ = ARec.DESCR_AJ;
  aj->FDT_REF = ARec.DT_REF;
  aj->FAjusteSCP = ARec.AjusteSCP;
  aj->FCOD_CTA = ARec.COD_CTA;
  pai->FM110_510List.Add(chave, std::move(aj));
}

// --- devoluções ---

// Sufixos formatados: %0:s o do CST e da alíquota (PIS/COFINS), %1:s o do tipo de débito e do
// tipo de crédito (PIS ou vazio na COFINS); %2:s a condição de estabelecimento; %3:s o CST.
std::string TnFisEFDGeradorM110_M510Lcto::GetSqlDevSaida() const {
  const std::string select =
      " SELECT S.CHAVELCTOFISSAI, S.SEQ, S.CODIGOPRODUTO, P.DACONTIPORECEITA, L.NUMERONF, "
      " COALESCE(L.COMPLHIST, 'Filial: ' || cast(L.CODIGOESTAB as VARCHAR(12))) COMPLHIST,"
      " S.DATALCTOFIS, S.CODIGOCFOP, S.ALIQ%0:s ALIQUOTA, S.TIPODEBITO%1:s TIPODEBITO, S.QUANTIDADE, "
      " S.BASECALCULOPISCOFINS, %3:s CST, S.CONTACTBEFD "
      " FROM LCTOFISSAIPISCOFINS S "
      " JOIN LCTOFISSAI L ON L.CODIGOEMPRESA = S.CODIGOEMPRESA AND L.CHAVELCTOFISSAI = S.CHAVELCTOFISSAI "
      " JOIN PRODUTO P ON P.CODIGOEMPRESA = S.CODIGOEMPRESA AND P.CODIGOPRODUTO = S.CODIGOPRODUTO "
      " WHERE S.CODIGOEMPRESA = :CODIGOEMPRESA "
      " AND S.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL %2:s";
  // CST da linha de entrada do mesmo produto citada pelo documento, quando houver.
  const std::string cstEntrada =
      "COALESCE((SELECT MIN(PE.CDSITUATRIBUT%0:s) FROM LCTOFISSAISPEDC113 R "
      " JOIN LCTOFISENT LE ON LE.CODIGOEMPRESA = R.CODIGOEMPRESA AND LE.CHAVELCTOFISENT = R.CHAVELCTOFISENTREF "
      " JOIN LCTOFISENTPISCOFINS PE ON PE.CODIGOEMPRESA = LE.CODIGOEMPRESA "
      " AND PE.CHAVELCTOFISENT = LE.CHAVELCTOFISENT AND PE.CODIGOPRODUTO = S.CODIGOPRODUTO "
      " WHERE R.CODIGOEMPRESA = S.CODIGOEMPRESA AND R.CHAVELCTOFISSAI = S.CHAVELCTOFISSAI), S.CDSITUATRIBUT%0:s)";
  const bool pis = FImposto == 15;
  const std::string suf = pis ? "PIS" : "COFINS", deb = pis ? "PIS" : "";
  const auto parte = [&](const std::string& ACst) {
    return Format(select, {suf, deb, GetFilterEstab("S."), Format(ACst, {suf})});
  };
  return parte("S.CDSITUATRIBUT%0:s") + " AND " + MontarFiltroCFOP(LstCFOPDevolucao(), "S.CODIGOCFOP") +
         " AND EXISTS (SELECT 1 FROM LCTOFISSAISPEDC113 R WHERE R.CODIGOEMPRESA = S.CODIGOEMPRESA "
         " AND R.CHAVELCTOFISSAI = S.CHAVELCTOFISSAI AND R.CHAVELCTOFISENTREF IS NOT NULL) "
         " UNION ALL " + parte(cstEntrada) +
         Format(" AND (S.CODIGOCFOP = 5927 OR S.CODIGOCFOP BETWEEN 5927000 AND 5927999 "
                " OR ((S.CODIGOCFOP IN (5949, 6949) OR S.CODIGOCFOP BETWEEN 5949000 AND 5949999 "
                " OR S.CODIGOCFOP BETWEEN 6949000 AND 6949999) AND S.CDSITUATRIBUT%0:s = 49 "
                " AND S.TIPODEBITO%1:s = '4.3.08.06')) ORDER BY 1, 2 ",
                {suf, deb});
}

std::string TnFisEFDGeradorM110_M510Lcto::GetSqlEntrada() const {
  const bool pis = FImposto == 15;
  return Format(" SELECT DISTINCT R.CHAVELCTOFISSAI, E.CODIGOPRODUTO, E.SEQ, E.TIPOCREDITO%1:s TIPOCREDITO, "
                " E.CDSITUATRIBUT%0:s CST, SUBSTR(CAST(E.CODIGOCFOP AS VARCHAR(10)), 1, 1) CODIGOCFOP, "
                " E.ALIQ%0:s ALIQUOTA "
                " FROM LCTOFISSAISPEDC113 R "
                " JOIN LCTOFISENT L ON L.CODIGOEMPRESA = R.CODIGOEMPRESA AND L.CHAVELCTOFISENT = R.CHAVELCTOFISENTREF "
                " JOIN LCTOFISENTPISCOFINS E ON E.CODIGOEMPRESA = L.CODIGOEMPRESA "
                " AND E.CHAVELCTOFISENT = L.CHAVELCTOFISENT "
                " WHERE R.CODIGOEMPRESA = :CODIGOEMPRESA "
                " AND R.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL %2:s ORDER BY 1, 2, 3 ",
                {std::string(pis ? "PIS" : "COFINS"), std::string(pis ? "PIS" : ""), GetFilterEstab("L.")});
}

void TnFisEFDGeradorM110_M510Lcto::CarregarDevolucao() {
  // Linhas de entrada por (saída, produto), na ordem da sequência: cada devolução consome a
  // primeira que sobrou, então a segunda devolução do produto pega a linha seguinte.
  std::map<std::pair<int64_t, int64_t>, std::deque<TEntradaRef>> entradas;
  {
    auto ds = ExecutarSQLInt(GetSqlEntrada(), GetFiltroEmpresaPeriodo(), false, false, -1);
    TMapEntrada m;
    FieldMapper().MapearFields(*ds, m);
    for (; !ds->Eof(); ds->Next())
      entradas[{m.CHAVELCTOFISSAI.AsInteger(), m.CODIGOPRODUTO.AsInteger()}].push_back(
          {static_cast<int>(m.SEQ.AsInteger()), m.TIPOCREDITO.AsString(), static_cast<int>(m.CST.AsInteger()), m.CODIGOCFOP.AsString(), m.ALIQUOTA.AsFloat()});
    Nutildb::DestruirSQL(ds);
  }
  auto ds = ExecutarSQLInt(GetSqlDevSaida(), GetFiltroEmpresaPeriodo(), false, false, -1);
  TMapSaidaDev m;
  FieldMapper().MapearFields(*ds, m);
  const std::string codAj = TnFisFuncoes::GetCodigoTipoDebitoTipoCredito("4.3.08.06");
  for (; !ds->Eof(); ds->Next()) {
    const std::string cfop = m.CODIGOCFOP.AsString();
    const int f = CFOPQuatro(cfop);
    const double qtd = m.QUANTIDADE.AsFloat();
    const double aliq = m.ALIQUOTA.AsFloat();
    TRecM110_510 r;
    r.IND_AJ = "0";
    r.VL_AJ = Nutil::RoundValor(qtd > 0 ? qtd * aliq : m.BASECALCULOPISCOFINS.AsFloat() * aliq / 100, 2);
    r.COD_AJ = codAj;
    r.NUM_DOC = m.NUMERONF.AsString();
    r.DESCR_AJ = DescricaoAjusteLcto(m.COMPLHIST.AsString());
    r.DT_REF = DataTotalEFD(m.DATALCTOFIS);
    r.COD_CTA = m.CONTACTBEFD.AsString();
    r.TipoApuracao = GetTipoApuracao(static_cast<int>(m.DACONTIPORECEITA.AsInteger()));
    if (f == 5927 || f == 5949 || f == 6949) {
      // Perda ou baixa sem entrada correspondente: CST de crédito da linha, senão o da empresa.
      const int cst = static_cast<int>(m.CST.AsInteger());
      r.CST = (cst >= 50 && cst <= 56) || (cst >= 60 && cst <= 66) ? cst : GetCSTAjusteCredito();
      r.TipoCredM100_M500 =
          GetTipoCreditoMestre(r.CST, TnFisFuncoes::GetCodigoTipoDebitoTipoCredito(m.TIPODEBITO.AsString()), aliq, cfop, 0);
      r.AliquotaM100_M500 = aliq;
      ProcessarM110_510(r);
      continue;
    }
    auto pos = entradas.find({m.CHAVELCTOFISSAI.AsInteger(), m.CODIGOPRODUTO.AsInteger()});
    if (pos == entradas.end() || pos->second.empty()) continue;  // nada mais a devolver deste produto
    const TEntradaRef e = pos->second.front();
    r.CST = e.CST;
    r.TipoCredM100_M500 = GetTipoCreditoMestre(e.CST, TnFisFuncoes::GetCodigoTipoDebitoTipoCredito(e.TipoCredito),
                                               e.Aliquota, e.CFOP, 0);
    r.AliquotaM100_M500 = e.Aliquota;
    ProcessarM110_510(r);
    pos->second.pop_front();
  }
  Nutildb::DestruirSQL(ds);
}
