// Quadro do repositório monolítico: ordem da execução, opções que fixam o regime da
// empresa, sub-execuções das SCP, filtros e a classificação do tipo de crédito.
#include "blocom/repo/nFisRepositorioPisCofinsBlocoM_U.h"

#include <cstdio>

#include "base/Decimal.h"
#include "base/Nutil.h"
#include "host/DMSQLDataSet.h"
#include "host/FieldMapper.h"
#include "host/FisFuncoes.h"
#include "host/LctoFisTmp.h"
#include "host/LucroRealPresumido.h"
#include "host/Nutildb.h"
#include "host/Nutilinclusao.h"
#include "host/OpcaoEFD.h"
#include "host/ProporcaoCreditos.h"

TRepoPisCofinsBlocoM::TRepoPisCofinsBlocoM() = default;
TRepoPisCofinsBlocoM::~TRepoPisCofinsBlocoM() = default;

std::unique_ptr<TM001AberturaBloco> TRepoPisCofinsBlocoM::CarregarDadosBlocoM(const TConfigBlocoM& AConfig) {
  FConfigBlocoM = AConfig;
  FAberturaBloco = std::make_unique<TM001AberturaBloco>();
  FResultadoSCP.clear();
  try {
    AntesCarregarDados();
    CarregarDadosBlocoMSCP();
    if (!FOptanteLucroPresumido) CarregarCreditoPis();
    {
      // A tabela de devoluções é limpa também quando um carregador falha.
      TnGuardaTempDevolucao devolucoes(FConfigBlocoM.CodigoEmpresa, FConfigBlocoM.CodigoEstab,
                                       FConfigBlocoM.DataInicial, FConfigBlocoM.DataFinal, FConfigBlocoM.RegimeCaixa);
      CarregarContribuicaoPis();
      CarregarFolhaSalarios();
      CarregarReceitasIsentasPis();
      if (!FOptanteLucroPresumido) CarregarCreditoCofins();
      CarregarContribuicaoCofins();
      CarregarReceitasIsentasCofins();
    }
  } catch (...) {
    DepoisCarregarDados();
    FAberturaBloco.reset();
    throw;
  }
  DepoisCarregarDados();
  return std::move(FAberturaBloco);
}

void TRepoPisCofinsBlocoM::DepoisCarregarDados() {
  // A lista de trabalho é liberada; os M001 das SCP passam ao resultado que o host lê.
  if (FLstBlocoMSCP) {
    for (auto& item : *FLstBlocoMSCP) FResultadoSCP.push_back(std::move(item));
    FLstBlocoMSCP.reset();
  }
  FProporcaoCredito.reset();
  FLstM100_500 = nullptr;
  FRegM200_600 = nullptr;
  FLstM400_800 = nullptr;
}

// ------------------------------------------------------------------ opções

void TRepoPisCofinsBlocoM::AntesCarregarDados() {
  VerifEhOptanteLucroPres();
  VerifEhOptanteLucroReal();
  VerifEhOptanteEFD();
  VerifEstabSCP();
  PegarProporc0111();
  FTipoApuracao = 0;
  FRegimeApuracao = 0;
  if (FOptanteLucroReal) {
    auto& lr = ControleLucroReal();
    FRegimeApuracao = lr.RegimeApuracao(FDtOpLucroReal);
    FTipoApuracao = lr.TipoApuracao(lr.ProcurarDataOpcao(FConfigBlocoM.DataFinal));
  } else if (FOptanteLucroPresumido) {
    auto& lp = ControleLucroPresumido();
    FTipoApuracao = lp.TipoApuracao(lp.ProcurarDataOpcao(FConfigBlocoM.DataFinal));
    FRegimeApuracao = 3;
  } else if (FOptanteEFD) {
    FRegimeApuracao = ControleOpcaoEFD().GetRegimeApuracao() & 0xFF;
    FTipoApuracao = 2;
  }
}

void TRepoPisCofinsBlocoM::VerifEhOptanteLucroPres() {
  auto& lp = ControleLucroPresumido();
  lp.SetCodigoEmpresa(FConfigBlocoM.CodigoEmpresa);
  lp.SetDataInicial(FConfigBlocoM.DataInicial);
  lp.SetDataFinal(FConfigBlocoM.DataFinal);
  FOptanteLucroPresumido = lp.ApuraLucroPresumido(lp.ProcurarDataOpcao(FConfigBlocoM.DataFinal));
}

void TRepoPisCofinsBlocoM::VerifEhOptanteLucroReal() {
  auto& lr = ControleLucroReal();
  lr.SetCodigoEmpresa(FConfigBlocoM.CodigoEmpresa);
  lr.SetDataInicial(FConfigBlocoM.DataInicial);
  lr.SetDataFinal(FConfigBlocoM.DataFinal);
  FDtOpLucroReal = lr.ProcurarDataOpcao(FConfigBlocoM.DataFinal);
  // Sem opção em vigor não há códigos a ler (o controle do host recusa a data vazia).
  if (FDtOpLucroReal > 0) {
    lr.ApuraPIS(FDtOpLucroReal, FImpostoPISNaoCumulativo, FVariacaoPISNaoCumulativo, FImpostoPISCumulativo,
                FVariacaoPISCumulativo);
    lr.ApuraCOFINS(FDtOpLucroReal, FImpostoCOFINSNaoCumulativo, FVariacaoCOFINSNaoCumulativo,
                   FImpostoCOFINSCumulativo, FVariacaoCOFINSCumulativo);
  }
  FOptanteLucroReal = lr.ApuraLucroReal(FDtOpLucroReal);
}

bool TRepoPisCofinsBlocoM::EhOptanteLucroReal() {
  auto& lr = ControleLucroReal();
  lr.SetCodigoEmpresa(FConfigBlocoM.CodigoEmpresa);
  lr.SetDataInicial(FConfigBlocoM.DataInicial);
  lr.SetDataFinal(FConfigBlocoM.DataFinal);
  return lr.ApuraLucroReal(lr.ProcurarDataOpcao(FConfigBlocoM.DataFinal));
}

void TRepoPisCofinsBlocoM::VerifEhOptanteEFD() {
  auto& efd = ControleOpcaoEFD();
  efd.Configurar(FConfigBlocoM.CodigoEmpresa, EstabComoInteiro(FConfigBlocoM.CodigoEstab), FConfigBlocoM.DataInicial);
  FOptanteEFD = efd.GetEhOptanteEFD();
}

void TRepoPisCofinsBlocoM::VerifEstabSCP() {
  FEstabSCP = false;
  const int estab = EstabComoInteiro(FConfigBlocoM.CodigoEstab, 0);
  if (estab == 0) return;
  const TVariant v = TnDMSQLDataSet::PegarValorCampo(
      "ESTAB", "SOCIEDADECONTAPARTICIPACAO",
      "CODIGOEMPRESA = " + Nutil::ValorParaSQL(TVariant{int64_t{FConfigBlocoM.CodigoEmpresa}}) +
          " AND CODIGOESTAB = " + Nutil::ValorParaSQL(TVariant{int64_t{estab}}));
  FEstabSCP = !VarIsNull(v) && VarToStr(v) == "1";
}

// Proporção da receita para ratear os créditos comuns (CST 53 a 56 e 63 a 66): as parcelas
// de receita tributada (1), não tributada (2) e de exportação (3), em percentual.
void TRepoPisCofinsBlocoM::PegarProporc0111() {
  if (!FOptanteLucroReal && !FOptanteEFD) return;
  FProporcaoCredito = std::make_unique<TnFisProporcaoCreditos>();
  int rateioCum = 0;
  if (FOptanteLucroReal)
    rateioCum = ControleLucroReal().ProporcaoRecCum(FDtOpLucroReal);
  else
    rateioCum = ControleOpcaoEFD().GetProporcaoRecCum();
  FProporcaoCredito->SetParans(TnFisPropCreditoParans(FConfigBlocoM.CodigoEmpresa, FConfigBlocoM.CodigoEstab,
                                                      FConfigBlocoM.DataInicial, FConfigBlocoM.DataFinal,
                                                      FConfigBlocoM.ModoGeracao == TModoGeracao::mgEmpresa,
                                                      rateioCum));
  FProporcaoCredito->ExecutarProporcaoCreditos();
  TRecProporcReceita* destinos[] = {&FProporcCST53, &FProporcCST54, &FProporcCST55, &FProporcCST56};
  for (int i = 0; i < 4; ++i) {
    auto& rec = *destinos[i];
    rec.LstProporc.clear();
    rec.LstReceita.clear();
    const int cst = 53 + i;
    const std::pair<const char*, int> partes[] = {
        {"1", pcPercRecTribNCum}, {"2", pcPercRecNTrib}, {"3", pcPercRecExport}};
    for (const auto& [regime, campo] : partes) {
      const double perc = FProporcaoCredito->GetValorCreditoCst(cst, campo);
      if (perc <= 0) continue;
      rec.LstReceita.emplace_back(std::in_place_type<std::string>, regime);
      rec.LstProporc.emplace_back(std::in_place_type<double>, perc);
    }
  }
}

// ------------------------------------------------------------------ SCP

namespace {
struct TMapEstabSCP : TRowMap {
  PISCO_CAMPO(CODIGOESTAB);
  PISCO_CAMPO(INSCRICAOSCP);
};
}  // namespace

void TRepoPisCofinsBlocoM::CarregarDadosBlocoMSCP() {
  if (!FConfigBlocoM.CodigoEstab.empty()) return;
  auto ds = ExecutarSQLInt(
      " SELECT CODIGOESTAB,  INSCRICAOSCP  FROM ESTAB  WHERE CODIGOEMPRESA = :CODIGOEMPRESA  AND "
      "SOCIEDADECONTAPARTICIPACAO = '1'  ORDER BY CODIGOEMPRESA, CODIGOESTAB ",
      {TVariant{int64_t{FConfigBlocoM.CodigoEmpresa}}}, true, false, 10);
  if (!ds->Eof()) {
    TMapEstabSCP map;
    FieldMapper().MapearFields(*ds, map);
    TRepoPisCofinsBlocoM sub;
    TConfigBlocoM copia = FConfigBlocoM;
    copia.ModoGeracao = TModoGeracao::mgSCP;
    FLstBlocoMSCP = std::make_unique<TListaBlocoMSCP>();
    for (; !ds->Eof(); ds->Next()) {
      copia.CodigoEstab = map.CODIGOESTAB.AsString();
      TDadosSCP scp(static_cast<int>(map.CODIGOESTAB.AsInteger()), map.INSCRICAOSCP.AsString());
      auto m001 = sub.CarregarDadosBlocoM(copia);
      FLstBlocoMSCP->emplace_back(std::move(scp), std::move(m001));
    }
    // A sub-execução reposicionou as opções do host no estabelecimento da SCP.
    VerifEhOptanteEFD();
  }
  Nutildb::DestruirSQL(ds);
}

// ------------------------------------------------------------------ fases

void TRepoPisCofinsBlocoM::CarregarCreditoPis() {
  FImposto = 15;
  FOperacao = 0;
  FLstM100_500 = &FAberturaBloco->FM100List;
  CarregarCredito();
}

void TRepoPisCofinsBlocoM::CarregarCreditoCofins() {
  FImposto = 16;
  FOperacao = 0;
  FLstM100_500 = &FAberturaBloco->FM500List;
  CarregarCredito();
}

void TRepoPisCofinsBlocoM::CarregarCredito() {
  CarregarDadosM100_500CreditoEvento();
  CarregarDadosM105_505();
  CarregarAjustesM110_510_220_620();
  CarregarTotalCredDescontarM100_500();
}

void TRepoPisCofinsBlocoM::CarregarContribuicaoPis() {
  FImposto = 15;
  FOperacao = 1;
  FRegM200_600 = FAberturaBloco->FM200.get();
  CarregarContribuicao();
}

void TRepoPisCofinsBlocoM::CarregarContribuicaoCofins() {
  FImposto = 16;
  FOperacao = 1;
  FRegM200_600 = FAberturaBloco->FM600.get();
  CarregarContribuicao();
}

void TRepoPisCofinsBlocoM::CarregarContribuicao() {
  CarregarDadosM200_600();
  CarregarDadosM210_610();
  if (!FRegM200_600->FM210_610List.Vazia()) {
    CarregarDadosM211_611();
    if (CompararDias(FConfigBlocoM.DataInicial, EncodeDate(2019, 1, 1)) >= 0) CarregarDadosM215_615();
    CarregarDadosM220_620();
  }
  if (CompararDias(FConfigBlocoM.DataInicial, EncodeDate(2014, 1, 1)) >= 0) CarregarDadosM205_605();
}

void TRepoPisCofinsBlocoM::CarregarFolhaSalarios() { CarregarDadosM350(); }

void TRepoPisCofinsBlocoM::CarregarReceitasIsentasPis() {
  FImposto = 15;
  FLstM400_800 = &FAberturaBloco->FM400List;
  CarregarDadosM400_800();
  if (!FLstM400_800->Vazia()) CarregarDadosM410_810();
}

void TRepoPisCofinsBlocoM::CarregarReceitasIsentasCofins() {
  FImposto = 16;
  FLstM400_800 = &FAberturaBloco->FM800List;
  CarregarDadosM400_800();
  if (!FLstM400_800->Vazia()) CarregarDadosM410_810();
}

// ------------------------------------------------------------------ valores e filtros

TParams TRepoPisCofinsBlocoM::GetFiltroEmpresaPeriodo() const {
  return {TVariant{int64_t{FConfigBlocoM.CodigoEmpresa}}, VarDate(FConfigBlocoM.DataInicial),
          VarDate(FConfigBlocoM.DataFinal)};
}

std::string TRepoPisCofinsBlocoM::GetFilterEstab(const std::string& AAlias) const {
  std::string estab = FConfigBlocoM.CodigoEstab;
  const auto ini = estab.find_first_not_of(" \t");
  const auto fim = estab.find_last_not_of(" \t");
  estab = ini == std::string::npos ? std::string() : estab.substr(ini, fim - ini + 1);
  return FilterInterval({AAlias + "CODIGOESTAB"}, estab, {tiExInclusao}, true, kFiltroNumero);
}

std::string TRepoPisCofinsBlocoM::GetFiltroCSTM400_M800() const {
  return CompararDias(FConfigBlocoM.DataInicial, EncodeDate(2013, 8, 1)) >= 0 ? "4, 6, 7, 8, 9" : "4, 5, 6, 7, 8, 9";
}

std::unique_ptr<TDataSet> TRepoPisCofinsBlocoM::ExecutarSQLInt(const std::string& ASQL, const TParams& AValores,
                                                               bool ACliente, bool ASomenteLeitura,
                                                               int AMaxRegistros) {
  auto ds = Nutildb::ExecutarSQL(ASQL, AValores, ACliente, ASomenteLeitura, AMaxRegistros, "", nullptr, true);
  if (FConfigBlocoM.DoIncProgresso) ds->DoIncProgresso = FConfigBlocoM.DoIncProgresso;
  return ds;
}

// ------------------------------------------------------------------ tipo de crédito

std::string TRepoPisCofinsBlocoM::GetTipoCreditoRegime(int ACST) {
  if (ACST == 51 || ACST == 61) return "2";
  if (ACST == 52 || ACST == 62) return "3";
  return "1";
}

std::string TRepoPisCofinsBlocoM::GetTipoCreditoMestreQtd(int ACST) { return GetTipoCreditoRegime(ACST) + "03"; }

std::string TRepoPisCofinsBlocoM::GetTipoCreditoMestre(int ACST, const std::string& ATexto, double AAliq,
                                                       const std::string& ATipoCredito) {
  return GetTipoCreditoRegime(ACST) + GetTipoCreditoAliquota(ATexto, ATipoCredito, ACST, AAliq);
}

// Bem importado dá crédito na classe da importação; os demais, na alíquota básica.
std::string TRepoPisCofinsBlocoM::GetTipoCreditoMestreBem(int ACST, int AOrigemBem) {
  return GetTipoCreditoRegime(ACST) + (AOrigemBem == 1 ? "08" : "01");
}

bool TRepoPisCofinsBlocoM::EhAliqBasica(double AAliq) {
  return AAliq == 0.65 || AAliq == 1.65 || AAliq == 3.0 || AAliq == 7.6;
}

std::string TRepoPisCofinsBlocoM::GetTipoCreditoAliquota(const std::string& ATexto, const std::string& ATipoCredito,
                                                         int ACST, double AAliq) {
  if (ATipoCredito == "4.3.07.14" &&
      (Nutil::RoundValor(AAliq, 4) == 1.2375 || Nutil::RoundValor(AAliq, 2) == 5.7))
    return "07";
  if (ACST >= 60 && ACST <= 66) return "06";
  if (ATipoCredito == "4.3.07.18") return "04";
  if (!ATexto.empty() && ATexto[0] == '3') return "08";
  if (!EhAliqBasica(AAliq) && AAliq > 0) return "02";
  // Sem CFOP (ajustes, lançamentos sem documento) não há operação que diga a classe: básica.
  if (ATexto.empty() || ATexto == "0") return "01";
  if (TnFisFuncoes::GetTabelaSPEDTipoDebitoTipoCredito(ATipoCredito) == "4.3.07") {
    const int tipo = std::atoi(TnFisFuncoes::GetCodigoTipoDebitoTipoCredito(ATipoCredito).c_str());
    if (tipo >= 1 && tipo <= 14) return "01";
    if (tipo == 15 || tipo == 16) return "09";
    if (tipo == 18) return "04";
    return "01";
  }
  if (TnFisFuncoes::GetTabelaSPEDTipoDebitoTipoCredito(ATipoCredito) == "4.3.09") return "06";
  return "01";
}

std::string TRepoPisCofinsBlocoM::ChaveM100(const std::string& ATipoCredito, double AAliq, double AAliqQuant,
                                            int AIndCredOri) {
  const auto texto = [](double v) { return Decimal::TextoChave(v); };
  return ATipoCredito + "|" + texto(AAliq) + "|" + texto(AAliqQuant) + "|" + std::to_string(AIndCredOri);
}

std::string TRepoPisCofinsBlocoM::GetTabelaRegime(bool APresumido) const {
  const std::string base = APresumido ? "TOTALLUCROPRESUMIDO" : "TOTALLUCROREAL";
  return FEstabSCP ? base + "ESTAB" : base;
}

std::string TRepoPisCofinsBlocoM::CondicaoEstabRegime(const std::string& APrefixo) const {
  // Só com estabelecimento SCP, e então o código é um inteiro validado.
  if (!FEstabSCP) return "";
  return " AND " + APrefixo + "CODIGOESTAB = " + std::to_string(EstabComoInteiro(FConfigBlocoM.CodigoEstab));
}
