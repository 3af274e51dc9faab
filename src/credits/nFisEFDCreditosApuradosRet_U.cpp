#include "credits/nFisEFDCreditosApuradosRet_U.h"

#include <algorithm>
#include <memory>

#include "host/FieldMapper.h"
#include "host/FisFuncoes.h"
#include "host/LucroRealPresumido.h"
#include "base/Nutil.h"
#include "host/Nutildb.h"
#include "host/Nutilinclusao.h"
#include "host/OpcaoEFD.h"

namespace {

struct TMapSaldoRet : TRowMap {
  PISCO_CAMPO(IMPOSTO);
  PISCO_CAMPO(DATATOTAL);
  PISCO_CAMPO(INDNATRET);
  PISCO_CAMPO(PRRECRET);
  PISCO_CAMPO(TIPODEBITO);
  PISCO_CAMPO(VLRETAPU);
  PISCO_CAMPO(VLRETDED);
  PISCO_CAMPO(VLRETPER);
  PISCO_CAMPO(VLRETDCOMP);
  PISCO_CAMPO(SLDRET);
};

using Nutil::Aparar;

double Valor(const TField* f) { return !f || f->IsNull() ? 0.0 : f->AsFloat(); }

}  // namespace

TListaRetido TnFisEFDCreditosApuradosRet::Carregar(TTipoImposto ATipoImposto) {
  TListaChave<TDadosRetido> mapa;
  LstCredRetido = &mapa;
  struct TSoltar {
    TListaChave<TDadosRetido>*& p;
    ~TSoltar() { p = nullptr; }
  } soltar{LstCredRetido};
  FTipoImposto = ATipoImposto;
  ControleOpcaoEFD().Configurar(FConfigBlocoM.CodigoEmpresa, EstabComoInteiro(FConfigBlocoM.CodigoEstab),
                                FConfigBlocoM.DataInicial);
  CarregarCreditosApurados(GetSQLCredApuradoRet(), 1);
  TListaRetido lista;
  lista.reserve(mapa.Count());
  for (auto& [chave, linha] : mapa) lista.push_back(std::move(linha));
  OrdenarLista(lista);
  return lista;
}

std::string TnFisEFDCreditosApuradosRet::GetSQLCredApuradoRet() {
  FOptanteEFD = ControleOpcaoEFD().GetEhOptanteEFD();
  if (FOptanteEFD)
    return GetSQLCredApuradoRet(
        FConfigBlocoM.ModoGeracao == TModoGeracao::mgEmpresa ? "EFDSALDORETIDO" : "EFDSALDORETIDOESTAB",
        GetFilterEstab(), "TIPODEBITO", "DATATOTAL");
  const std::string estab =
      "and CODIGOESTAB = " + Nutil::ValorParaSQL(int64_t{EstabComoInteiro(FConfigBlocoM.CodigoEstab)});
  if (EhOptanteLucroReal()) return GetSQLCredApuradoRet("TOTALLUCROREALRETIDOSPED", estab, "TIPODEBITO", "DATALCTOFIS");
  return GetSQLCredApuradoRet("TOTALLUCROPRESRETIDO", estab,
                              "cast(" + Nutil::ValorParaSQL(std::string("4.3.05.51")) + " as varchar(20))",
                              "DATALCTOFIS");
}

std::string TnFisEFDCreditosApuradosRet::GetSQLCredApuradoRet(const std::string& ATabela,
                                                              const std::string& AFiltroEstab,
                                                              const std::string& ATipoDebito,
                                                              const std::string& AColunaData) const {
  std::string sql = " SELECT  IMPOSTO,  " + AColunaData + " DATATOTAL, " + " INDNATRET, " + " PRRECRET, " + " " +
                    ATipoDebito + " TIPODEBITO, " + " VLRETAPU, " + " VLRETDED, " + " VLRETPER, " + " VLRETDCOMP, " +
                    " SLDRET ";
  if (FOptanteEFD) sql += std::string(", VLDIFERIDOAPU ") + ", VLDIFERIRAPU ";
  sql += " FROM  " + ATabela + " WHERE CODIGOEMPRESA = :CODIGOEMPRESA " + " " + AFiltroEstab + " AND " + AColunaData +
         " BETWEEN :PDATAINI AND :PDATAFIM " + " " + GetFiltroImposto() + " ORDER BY " + " IMPOSTO, " + " " +
         AColunaData + ", " + " PRRECRET, " + " INDNATRET ";
  if (FOptanteEFD || ATabela == "TOTALLUCROREALRETIDOSPED") sql += ", " + ATipoDebito;
  return sql;
}

bool TnFisEFDCreditosApuradosRet::EhOptanteLucroReal() const {
  auto& lr = ControleLucroReal();
  lr.SetCodigoEmpresa(FConfigBlocoM.CodigoEmpresa);
  lr.SetDataInicial(FConfigBlocoM.DataInicial);
  lr.SetDataFinal(FConfigBlocoM.DataFinal);
  return lr.ApuraLucroReal(lr.ProcurarDataOpcao(FConfigBlocoM.DataInicial));
}

std::string TnFisEFDCreditosApuradosRet::GetFilterEstab() const {
  if (FConfigBlocoM.ModoGeracao == TModoGeracao::mgEmpresa) return "";
  return FilterInterval({"CODIGOESTAB"}, Aparar(FConfigBlocoM.CodigoEstab), {tiExInclusao}, true, kFiltroNumero);
}

std::string TnFisEFDCreditosApuradosRet::GetFiltroImposto() const {
  if (FTipoImposto != tiPIS && FTipoImposto != tiCOFINS) return "";
  return "and IMPOSTO = " + Nutil::ValorParaSQL(int64_t{FTipoImposto}) + " ";
}

TParams TnFisEFDCreditosApuradosRet::GetParams(int AFormaControleRetidos) const {
  const TVariant empresa(int64_t{FConfigBlocoM.CodigoEmpresa});
  if (AFormaControleRetidos == 1)
    return {empresa, VarDate(FConfigBlocoM.DataInicial), VarDate(FConfigBlocoM.DataFinal)};
  const TDateTime anterior = PegarDataApuracaoAnterior(FConfigBlocoM.DataInicial);
  return {empresa, VarDate(anterior), VarDate(EndOfTheMonth(anterior))};
}

void TnFisEFDCreditosApuradosRet::CarregarCreditosApurados(const std::string& ASQL, int AFormaControleRetidos) {
  auto ds = Nutildb::ExecutarSQL(ASQL, GetParams(AFormaControleRetidos), true, false, -1, "", nullptr, true);
  struct TFechar {
    std::unique_ptr<TDataSet>& d;
    ~TFechar() { Nutildb::DestruirSQL(d); }
  } fechar{ds};
  TMapSaldoRet m;
  FieldMapper().MapearFields(*ds, m);
  // Os diferimentos só existem nas tabelas da EFD.
  const TField* diferido = ds->FindField("VLDIFERIDOAPU");
  const TField* diferir = ds->FindField("VLDIFERIRAPU");
  for (; !ds->Eof(); ds->Next()) {
    TDadosRetido linha;
    linha.IMPOSTO = static_cast<int16_t>(m.IMPOSTO.AsInteger());
    linha.DATATOTAL = m.DATATOTAL.AsDateTime();
    linha.INDNATRET = static_cast<int16_t>(m.INDNATRET.IsNull() ? 0 : m.INDNATRET.AsInteger());
    linha.PRRECRET = m.PRRECRET.IsNull() ? 0 : m.PRRECRET.AsDateTime();
    linha.TIPODEBITO = m.TIPODEBITO.AsString();
    const std::string chave = GetChaveCredApuRet(linha);
    TDadosRetido valores;
    valores.VLRETAPU = Valor(&m.VLRETAPU.Field());
    valores.VLRETDED = Valor(&m.VLRETDED.Field());
    valores.VLRETPER = Valor(&m.VLRETPER.Field());
    valores.VLRETDCOMP = Valor(&m.VLRETDCOMP.Field());
    valores.VLDIFERIDOAPU = Valor(diferido);
    valores.VLDIFERIRAPU = Valor(diferir);
    TDadosRetido* atual = LstCredRetido->Procurar(chave);
    if (!atual) atual = LstCredRetido->Incluir(chave, linha);
    atual->SomarValores(valores);
  }
}

std::string TnFisEFDCreditosApuradosRet::GetChaveCredApuRet(const TDadosRetido& l) {
  return std::to_string(l.IMPOSTO) + "|" + FormatDateTime("yyyymmdd", l.DATATOTAL) + "|" +
         std::to_string(l.INDNATRET) + "|" + FormatDateTime("yyyymmdd", l.PRRECRET) + "|" + l.TIPODEBITO;
}

void TnFisEFDCreditosApuradosRet::OrdenarLista(TListaRetido& ALista) {
  std::stable_sort(ALista.begin(), ALista.end(), [](const TDadosRetido& a, const TDadosRetido& b) {
    if (a.IMPOSTO != b.IMPOSTO) return a.IMPOSTO < b.IMPOSTO;
    if (int c = CompararDias(a.DATATOTAL, b.DATATOTAL)) return c < 0;
    if (int c = CompararDias(a.PRRECRET, b.PRRECRET)) return c < 0;
    return a.INDNATRET < b.INDNATRET;
  });
}
