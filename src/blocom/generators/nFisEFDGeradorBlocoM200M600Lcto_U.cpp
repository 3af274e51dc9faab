#include "blocom/generators/nFisEFDGeradorBlocoM200M600Lcto_U.h"

#include <cstdio>

#include "base/Format.h"
#include "base/Nutil.h"
#include "blocom/control/nFisEFDControleBlocoM_U.h"
#include "blocom/generators/nFisEFDGeradorBlocoM210M610Lcto_U.h"
#include "host/DMSQLDataSet.h"
#include "host/FieldMapper.h"
#include "host/LucroRealPresumido.h"
#include "host/Nutildb.h"

namespace {
struct TMapTotaisRegime : TRowMap {
  PISCO_CAMPO(VALORTOTAL1);
  PISCO_CAMPO(VALORTOTAL2);
};

struct TMapTotalPresumido : TRowMap {
  PISCO_CAMPO(VALORTOTAL3);
};

struct TMapDeducoes : TRowMap {
  PISCO_CAMPO(TIPOAPURACAO);
  PISCO_CAMPO(INDNATDED);
  PISCO_CAMPO(VLDED);
};

struct TMapDebitoFederal : TRowMap {
  PISCO_CAMPO(CODIGOIMPOSTO);
  PISCO_CAMPO(VARIACAOIMPOSTO);
  PISCO_CAMPO(VALORDEBITO);
};

std::string Lit(const TVariant& v) { return Nutil::ValorParaSQL(v); }

// Valor em reais com vírgula decimal, como o usuário lê no arquivo.
std::string Reais(double AValor) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.2f", Nutil::RoundValor(AValor, 2));
  std::string r = buf;
  if (auto p = r.find('.'); p != std::string::npos) r[p] = ',';
  return r;
}
TVariant I64(int64_t v) { return TVariant(v); }
}  // namespace

// --- LctoDacon ---

void TnFisEFDGeradorM200_M600LctoDacon::CriarGeradoresFilhos() {
  CriarFilho<TnFisEFDGeradorM210_M610LctoDacon>();
  CriarFilho<TnFisEFDGeradorM205_M605LctoDacon>();
}

std::string TnFisEFDGeradorM200_M600LctoDacon::GetTabelaTotal(const std::string& ATabela) const {
  return GetModoGeracao() == TModoGeracao::mgEmpresa ? ATabela : ATabela + "ESTAB";
}

std::string TnFisEFDGeradorM200_M600LctoDacon::GetCondEstab(const std::string& APrefixo) const {
  if (GetModoGeracao() == TModoGeracao::mgEmpresa) return "";
  return " AND " + APrefixo + "CODIGOESTAB = " + Lit(I64(EstabComoInteiro(GetCodigoEstab())));
}

void TnFisEFDGeradorM200_M600LctoDacon::CarregarDados() {
  const auto& dacon = Controle().FDadosDacon;
  if (dacon.OptanteLucroReal) {
    auto& lr = ControleLucroReal();
    lr.SetCodigoEmpresa(GetCodigoEmpresa());
    FRegime = lr.RegimeApuracao(dacon.DataOpcao);
    CarregarContribLucroReal();
    CarregarRetidoLucroReal();
  } else if (dacon.OptanteLucroPres) {
    CarregarContribLucroPresumido();
    CarregarRetidoLucroPresumido();
  }
}

void TnFisEFDGeradorM200_M600LctoDacon::CarregarContribLucroReal() {
  const std::string codigos = FImposto == 15 ? "2192, 2193, 2194, 2191, 2195" : "2491, 2492, 2493, 2494, 2495";
  const std::string sql =
      "SELECT SUM(T.VALORTOTAL1) VALORTOTAL1, SUM(T.VALORTOTAL2) VALORTOTAL2 FROM CFGEMPRESAFIS E LEFT JOIN " +
      GetTabelaTotal("TOTALLUCROREAL") + " T ON T.CODIGOEMPRESA = E.CODIGOEMPRESA AND T.CODIGOOPERACAOFIS IN (" +
      codigos + ")" + GetCondEstab("T.") +
      " WHERE E.CODIGOEMPRESA = :CODIGOEMPRESA AND T.DATATOTAL BETWEEN :DATAINICIAL AND :DATAFINAL";
  auto ds = ExecutarSQLInt(sql, GetFiltroEmpresaPeriodo(), false, false, -1);
  auto& m = FieldMapper().MapearFields<TMapTotaisRegime>(*ds);
  const double total1 = ds->Eof() ? 0 : m.VALORTOTAL1.AsFloat(), total2 = ds->Eof() ? 0 : m.VALORTOTAL2.AsFloat();
  Nutildb::DestruirSQL(ds);
  auto& reg = GetRegM200_600(TTipoApuracao::taNormal);
  if (FRegime == 1 || FRegime == 2) {
    const int estab = GetModoGeracao() == TModoGeracao::mgEmpresa ? 1 : EstabComoInteiro(GetCodigoEstab());
    const std::string cond = "CODIGOEMPRESA = " + Lit(I64(GetCodigoEmpresa())) + " AND CODIGOESTAB = " + Lit(I64(estab)) +
                             " AND DATALCTOFIS BETWEEN " + Lit(VarDate(GetDataInicial())) + " AND " +
                             Lit(VarDate(GetDataFinal())) + " AND PERAPUCRED < " + Lit(VarDate(GetDataInicial())) +
                             " AND ORIGCRED <> 0 AND IMPOSTO = " + Lit(I64(FImposto));
    reg.FVL_TOT_CRED_DESC_ANT =
        Nutil::VarToFloatDef(TnDMSQLDataSet::PegarValorCampo("TOTALLUCROREALCREDSPED", "SUM(VLCREDDESCEFD)", cond), 0);
    reg.FVL_OUT_DED_NC = total1;
  }
  if (FRegime == 2 || FRegime == 3) reg.FVL_OUT_DED_CUM = total2;
}

void TnFisEFDGeradorM200_M600LctoDacon::CarregarRetidoLucroReal() {
  const bool cum = FRegime == 3;
  const std::string codigos = FImposto == 15 ? (cum ? "8027, 8028, 8029, 8030, 8031, 8032, 8037" : "2185, 2186, 2187, 2188, 2189, 2190")
                                             : (cum ? "8160, 8161, 8162, 8163, 8164, 8165, 8170" : "2485, 2486, 2487, 2488, 2489, 2490");
  const std::string sql = "SELECT SUM(T.VALORTOTAL1) VALORTOTAL1, SUM(T.VALORTOTAL2) VALORTOTAL2 FROM " +
                          GetTabelaTotal("TOTALLUCROREAL") +
                          " T WHERE T.CODIGOEMPRESA = :CODIGOEMPRESA AND T.DATATOTAL BETWEEN :DATAINICIAL AND :DATAFINAL"
                          " AND T.CODIGOOPERACAOFIS IN (" + codigos + ")" + GetCondEstab("T.");
  auto ds = ExecutarSQLInt(sql, GetFiltroEmpresaPeriodo(), false, false, -1);
  auto& m = FieldMapper().MapearFields<TMapTotaisRegime>(*ds);
  auto& reg = GetRegM200_600(TTipoApuracao::taNormal);
  if (!ds->Eof()) {
    if (cum) {
      reg.FVL_RET_CUM += m.VALORTOTAL1.AsFloat();
    } else {
      reg.FVL_RET_NC += m.VALORTOTAL1.AsFloat();
      reg.FVL_RET_CUM += m.VALORTOTAL2.AsFloat();
    }
  }
  Nutildb::DestruirSQL(ds);
}

void TnFisEFDGeradorM200_M600LctoDacon::CarregarContribLucroPresumido() {
  const std::string sql = "SELECT SUM(T.VALORTOTAL3) VALORTOTAL3 FROM " + GetTabelaTotal("TOTALLUCROPRESUMIDO") +
                          " T WHERE T.CODIGOEMPRESA = :CODIGOEMPRESA AND T.DATATOTAL BETWEEN :DATAINICIAL AND :DATAFINAL"
                          " AND T.CODIGOOPERACAOFIS IN (" + std::string(FImposto == 15 ? "107" : "167") + ")" +
                          GetCondEstab("T.");
  auto ds = ExecutarSQLInt(sql, GetFiltroEmpresaPeriodo(), false, false, -1);
  auto& m = FieldMapper().MapearFields<TMapTotalPresumido>(*ds);
  GetRegM200_600(TTipoApuracao::taNormal).FVL_OUT_DED_CUM = ds->Eof() ? 0 : m.VALORTOTAL3.AsFloat();
  Nutildb::DestruirSQL(ds);
}

void TnFisEFDGeradorM200_M600LctoDacon::CarregarRetidoLucroPresumido() {
  std::string cond = "CODIGOEMPRESA = " + Lit(I64(GetCodigoEmpresa()));
  if (GetModoGeracao() != TModoGeracao::mgEmpresa) cond += " AND CODIGOESTAB = " + Lit(I64(EstabComoInteiro(GetCodigoEstab())));
  cond += " AND DATATOTAL BETWEEN " + Lit(VarDate(GetDataInicial())) + " AND " + Lit(VarDate(GetDataFinal())) +
          " AND CODIGOOPERACAOFIS IN (" +
          (FImposto == 15 ? "97, 98, 99, 100, 101, 102" : "157, 158, 159, 160, 161, 162") + ")";
  GetRegM200_600(TTipoApuracao::taNormal).FVL_RET_CUM = Nutil::VarToFloatDef(
      TnDMSQLDataSet::PegarValorCampo(GetTabelaTotal("TOTALLUCROPRESUMIDO"), "SUM(VALORTOTAL3)", cond), 0);
}

// --- LctoEFD ---

TnFisEFDGeradorM200_M600LctoEFD::TnFisEFDGeradorM200_M600LctoEFD(TnFisEFDControleBlocoM& AControle, int16_t AImposto)
    : TnFisEFDGeradorM200_M600Lcto(AControle, AImposto) {
  FCompensacao[ocCompensarCreditos] = [this] { CompensarCreditos(); };
  FCompensacao[ocCompensarRetidos] = [this] { CompensarRetidos(); };
  FCompensacao[ocCompensarDeducoesDiversas] = [this] { CompensarDeducoesDiversas(); };
}

TnFisEFDGeradorM200_M600LctoEFD::~TnFisEFDGeradorM200_M600LctoEFD() = default;

void TnFisEFDGeradorM200_M600LctoEFD::CriarGeradoresFilhos() {
  CriarFilho<TnFisEFDGeradorM210_M610LctoEFD>();
  FGeradorM205_M605 = &CriarFilho<TnFisEFDGeradorM205_M605LctoEFD>();
}

void TnFisEFDGeradorM200_M600LctoEFD::DepoisCarregarDadosFilhos() {
  // A contribuição só está completa depois dos filhos (M210 e ajustes); o M205 sai do saldo
  // que a compensação deixar.
  for (TOrdemComp ordem : ControleOpcaoEFD().GetOrdemCompensacao()) {
    auto pos = FCompensacao.find(ordem);
    if (pos == FCompensacao.end())
      throw EPisco("Ordem de compensação sem procedimento: " + std::to_string(static_cast<int>(ordem)));
    pos->second();
  }
  FGeradorM205_M605->CarregarDadosM205_605();
  FGeradorM205_M605 = nullptr;
}

void TnFisEFDGeradorM200_M600LctoEFD::CompensarCreditos() {
  auto& controle = GetControleCredito();
  // Cópia: compensar não deve mexer na lista que está sendo percorrida.
  const std::vector<TDadosCreditoObj*> creditos = controle.MontarListaCredDispOrdenada(FImposto, false);
  // Sem contribuição do tipo de apuração no período não há o que compensar; criar o M001 dele
  // só poria um bloco vazio desse tipo na saída.
  auto m200 = [&](int ATipo) -> TM200_600ConsolidContribImposto* {
    const auto& mapa = *Controle().FLstRegistroM001;
    if (!mapa.count(static_cast<TTipoApuracao>(ATipo))) return nullptr;
    return &GetRegM200_600(static_cast<TTipoApuracao>(ATipo));
  };
  for (auto* cred : creditos) {
    auto* reg = m200(cred->TIPOAPURACAO);
    if (!reg) continue;
    const double aberto = reg->GetVL_CONT_NC_REC() - reg->GetRecNaoCompCred();
    if (aberto <= 0) continue;
    const double compensado = controle.CompensarCredito(*cred, aberto);
    // Só o crédito de período anterior conta como desconto de crédito anterior.
    if (compensado > 0 && CompararDias(cred->PERAPUCRED, GetDataInicial()) < 0) reg->FVL_TOT_CRED_DESC_ANT += compensado;
  }
  // Um código fora da tabela de ordem de compensação nunca é oferecido: com contribuição ainda
  // em aberto, o saldo dele ficaria parado sem que ninguém soubesse. Um aviso por código.
  struct TParado {
    double Saldo = 0;
    std::string Periodos;
  };
  std::map<std::string, TParado> parados;
  for (const auto& [chave, cred] : controle.GetLstCredito()) {
    if (cred->IMPOSTO != FImposto || controle.PossuiOrdenacaoConfigurada(*cred)) continue;
    const double saldo = Nutil::RoundValor(cred->SLDCREDFIM(), 2);
    auto* reg = m200(cred->TIPOAPURACAO);
    if (saldo <= 0 || !reg || Nutil::RoundValor(reg->GetVL_CONT_NC_REC() - reg->GetRecNaoCompCred(), 2) <= 0) continue;
    auto& p = parados[cred->CODCRED];
    p.Saldo += saldo;
    const std::string periodo = FormatDateTime("mm/yyyy", cred->PERAPUCRED);
    if (p.Periodos.find(periodo) == std::string::npos) p.Periodos += (p.Periodos.empty() ? "" : ", ") + periodo;
  }
  for (const auto& [codigo, p] : parados)
    Avisar(Format("%0:s, %1:s: o crédito %2:s de %3:s (saldo R$ %4:s, de %5:s) não foi usado porque o código "
                  "não está na ordem de compensação da empresa (tabela %6:s), e o %7:s ainda tem contribuição a "
                  "recolher. Inclua o código na ordem de compensação para descontá-lo.",
                  {TVariant(Onde()), TVariant(FormatDateTime("mm/yyyy", GetDataInicial())),
                   TVariant(codigo), TVariant(GetTipoImposto()), TVariant(Reais(p.Saldo)), TVariant(p.Periodos),
                   TVariant(std::to_string(ControleOpcaoEFD().GetCodTabCompCred())), TVariant(GetNomeRegistro())}));
}

void TnFisEFDGeradorM200_M600LctoEFD::CompensarRetidos() {
  GetControleCredito().CompensarRetido(GetRegM200_600(TTipoApuracao::taNormal), FImposto);
}

std::string TnFisEFDGeradorM200_M600LctoEFD::GetSqlEFDDeducoesDiversas() const {
  return Format(
      "SELECT E.TIPOAPURACAO, E.INDNATDED, CAST(SUM(E.VLDED%0:s) AS NUMERIC(14, 2)) VLDED FROM EFDDEDUCOESDIVERSAS E "
      "WHERE E.CODIGOEMPRESA = :pCodigoEmpresa %1:s AND E.DATALCTOFIS BETWEEN :pDataInicial AND :pDataFinal GROUP BY "
      "E.TIPOAPURACAO, E.INDNATDED",
      {TVariant(GetTipoImposto()), TVariant(GetFilterEstab("E."))});
}

void TnFisEFDGeradorM200_M600LctoEFD::CompensarDeducoesDiversas() {
  auto ds = ExecutarSQLInt(GetSqlEFDDeducoesDiversas(), GetFiltroEmpresaPeriodo(), false, false, -1);
  auto& m = FieldMapper().MapearFields<TMapDeducoes>(*ds);
  for (; !ds->Eof(); ds->Next()) {
    const int tipo = m.TIPOAPURACAO.IsNull() ? 0 : static_cast<int>(m.TIPOAPURACAO.AsInteger());
    auto& reg = GetRegM200_600(static_cast<TTipoApuracao>(tipo));
    const bool cumulativa = !m.INDNATDED.IsNull() && m.INDNATDED.AsInteger() == 1;
    const double deducao = m.VLDED.AsFloat();
    // O valor entra inteiro, sem limite; o que restava antes dele diz se o M200 fica negativo.
    double restante;
    if (cumulativa) {
      restante = reg.GetVL_CONT_CUM_REC() + reg.FVL_OUT_DED_CUM;
      reg.FVL_OUT_DED_CUM = deducao;
    } else {
      restante = reg.GetVL_CONT_NC_REC() + reg.FVL_OUT_DED_NC;
      reg.FVL_OUT_DED_NC = deducao;
    }
    if (Nutil::RoundValor(deducao, 2) > Nutil::RoundValor(restante, 2))
      Avisar(Format("%0:s, %1:s%2:s: as deduções diversas de %3:s (R$ %4:s) passam da contribuição %5:s "
                    "que restava a recolher (R$ %6:s); o %7:s sai com valor a recolher negativo. Confira as deduções "
                    "lançadas e a ordem de compensação da empresa.",
                    {TVariant(Onde()), TVariant(FormatDateTime("mm/yyyy", GetDataInicial())),
                     TVariant(tipo ? " (tipo de apuração " + std::to_string(tipo) + ")" : std::string()),
                     TVariant(GetTipoImposto()), TVariant(Reais(deducao)),
                     TVariant(std::string(cumulativa ? "cumulativa" : "não cumulativa")), TVariant(Reais(restante)),
                     TVariant(GetNomeRegistro())}));
  }
  Nutildb::DestruirSQL(ds);
}

// --- M205/M605 LctoDacon ---

void TnFisEFDGeradorM205_M605LctoDacon::CarregarDados() {
  if (GetDataInicial() < EncodeDate(2014, 1, 1)) return;
  if (GetModoGeracao() == TModoGeracao::mgSCP)
    CarregarDadosM205_605SCP();
  else
    CarregarDadosM205_605SCPOstens();
}

void TnFisEFDGeradorM205_M605LctoDacon::CarregarDadosM205_605SCP() {
  auto& reg = GetRegM200_600(TTipoApuracao::taNormal);
  const bool pis = FImposto == 15;
  auto gerar = [&](const char* campo, const char* codigo, double valor) {
    TRecM205_605 rec;
    rec.NUM_CAMPO = campo;
    rec.COD_REC = codigo;
    rec.VL_DEBITO = valor;
    GerarM205_605(rec);
  };
  if (reg.GetVL_CONT_NC_REC() != 0) gerar("08", pis ? "691208" : "585608", reg.GetVL_CONT_NC_REC());
  if (reg.GetVL_CONT_CUM_REC() != 0) gerar("12", pis ? "810908" : "217208", reg.GetVL_CONT_CUM_REC());
}

std::string TnFisEFDGeradorM205_M605LctoDacon::GetDadosImposto(int& AImpostoCum, int& AVariacaoCum, bool& ALucroReal) {
  const auto& dacon = Controle().FDadosDacon;
  const bool pis = FImposto == 15;
  ALucroReal = dacon.OptanteLucroReal;
  if (dacon.OptanteLucroReal) {
    auto& lr = ControleLucroReal();
    lr.SetCodigoEmpresa(GetCodigoEmpresa());
    int ncum = 0, vncum = 0;
    if (pis)
      lr.ApuraPIS(dacon.DataOpcao, ncum, vncum, AImpostoCum, AVariacaoCum);
    else
      lr.ApuraCOFINS(dacon.DataOpcao, ncum, vncum, AImpostoCum, AVariacaoCum);
    return pis ? "FI-LRPIS2006" : "FI-LRCOFINS2006";
  }
  if (dacon.OptanteLucroPres) return pis ? "FI-PIS2006" : "FI-COFINS2006";
  return "";
}

void TnFisEFDGeradorM205_M605LctoDacon::CarregarDadosM205_605SCPOstens() {
  int impostoCum = 0, variacaoCum = 0;
  bool lucroReal = false;
  const std::string chave = GetDadosImposto(impostoCum, variacaoCum, lucroReal);
  if (chave.empty()) return;
  const std::string sql = Format(
      " SELECT  COALESCE(I.CODIGOIMPOSTODCTF, D.CODIGOIMPOSTO) CODIGOIMPOSTO,  COALESCE(I.VARIACAOIMPOSTODCTF, "
      "D.VARIACAOIMPOSTO) VARIACAOIMPOSTO,  D.VALORDEBITO  FROM DEBITOFEDERAL D  LEFT JOIN IMPOSTO I  ON "
      "D.CODIGOIMPOSTO = I.CODIGOIMPOSTO  AND D.VARIACAOIMPOSTO = I.VARIACAOIMPOSTO  WHERE D.CODIGOEMPRESA = "
      ":PCODIGOEMPRESA  AND D.CODIGOESTAB = :PCODIGOESTAB  AND D.DATALCTOCTR BETWEEN :PDATAINICIAL AND :PDATAFINAL  AND "
      "D.FORMADEBITO IN (0, 1)  AND D.CHAVEORIGEM = %s ",
      {TVariant(Lit(TVariant(chave)))});
  const int estab = GetModoGeracao() == TModoGeracao::mgEmpresa ? 1 : EstabComoInteiro(GetCodigoEstab());
  const TParams params{I64(GetCodigoEmpresa()), I64(estab), VarDate(GetDataInicial()), VarDate(GetDataFinal())};
  auto ds = ExecutarSQLInt(sql, params, false, false, -1);
  auto& m = FieldMapper().MapearFields<TMapDebitoFederal>(*ds);
  for (; !ds->Eof(); ds->Next()) {
    const int64_t imp = m.CODIGOIMPOSTO.IsNull() ? 0 : m.CODIGOIMPOSTO.AsInteger();
    const int64_t var = m.VARIACAOIMPOSTO.IsNull() ? 0 : m.VARIACAOIMPOSTO.AsInteger();
    TRecM205_605 rec;
    rec.NUM_CAMPO = !lucroReal || (imp == impostoCum && var == variacaoCum) ? "12" : "08";
    rec.COD_REC = Nutil::PreencherEsquerda(std::to_string(imp), 4, '0') + Nutil::PreencherEsquerda(std::to_string(var), 2, '0');
    rec.VL_DEBITO = m.VALORDEBITO.AsFloat();
    GerarM205_605(rec);
  }
  Nutildb::DestruirSQL(ds);
}
