#include "host/LucroRealPresumido.h"

#include "host/Database.h"
#include "base/Erros.h"
#include "host/Host.h"
#include "host/LeituraCampos.h"
#include "host/Servicos.h"

using namespace NLeituraCampos;

TDateTime TnUtilOpcaoRegime::ProcurarDataOpcao(TDateTime AData) {
  if (FCodigoEmpresa == 0) return 0;
  TDateTime dia = DateOf(AData);
  auto chave = std::make_pair(FCodigoEmpresa, DataISO(dia));
  auto it = FDatas.find(chave);
  if (it != FDatas.end()) return it->second;
  auto ds = FHost.Database().Abrir(std::string("SELECT MAX(DATAOPCAO) DATAOPCAO FROM ") + Tabela() +
                                       " WHERE CODIGOEMPRESA = :CODIGOEMPRESA AND DATAOPCAO <= :DATA",
                                   {TVariant(int64_t{FCodigoEmpresa}), VarDate(dia)});
  TDateTime d = ds->Eof() ? 0 : Data(*ds, "DATAOPCAO");
  FDatas.emplace(chave, d);
  return d;
}

void TnUtilOpcaoRegime::ErroSemOpcao(TDateTime AData) const {
  throw EOpcaoNaoCadastrada(std::string("Opção de ") + NomeRegime() + " não cadastrada para a empresa " +
                            std::to_string(FCodigoEmpresa) + " em " + FormatDateTime("dd/mm/yyyy", AData) +
                            " (tabela " + Tabela() + ").");
}

// ---- lucro real ----

std::optional<TLinhaOpcaoLucroReal> TnUtilLucroReal::LinhaEmVigor(TDateTime AData) {
  TDateTime d = ProcurarDataOpcao(AData);
  if (d == 0) return std::nullopt;
  auto chave = std::make_pair(FCodigoEmpresa, DataISO(d));
  auto it = FLinhas.find(chave);
  if (it != FLinhas.end()) return it->second;
  auto ds = FHost.Database().Abrir(
      "SELECT DATAOPCAO, APURALUCROREAL, REGIMEAPURACAO, TIPOAPURACAO, APURAPIS, APURACOFINS, "
      "CODIGOIMPOSTOPISNCUM, VARIACAOPISNCUM, CODIGOIMPOSTOPISCUM, VARIACAOPISCUM, "
      "CODIGOIMPOSTOCOFINSNCUM, VARIACAOCOFINSNCUM, CODIGOIMPOSTOCOFINSCUM, VARIACAOCOFINSCUM, "
      "CSTAJUSTECREDITO, PROPORCAORECCUM FROM OPCAOLUCROREAL "
      "WHERE CODIGOEMPRESA = :CODIGOEMPRESA AND DATAOPCAO = :DATAOPCAO",
      {TVariant(int64_t{FCodigoEmpresa}), VarDate(d)});
  std::optional<TLinhaOpcaoLucroReal> linha;
  if (!ds->Eof()) {
    TLinhaOpcaoLucroReal l;
    l.DataOpcao = d;
    l.ApuraLucroReal = Logico(*ds, "APURALUCROREAL", l.ApuraLucroReal);
    l.RegimeApuracao = Inteiro(*ds, "REGIMEAPURACAO", l.RegimeApuracao);
    l.TipoApuracao = Inteiro(*ds, "TIPOAPURACAO", l.TipoApuracao);
    l.ApuraPIS = Logico(*ds, "APURAPIS", l.ApuraPIS);
    l.ApuraCOFINS = Logico(*ds, "APURACOFINS", l.ApuraCOFINS);
    l.PIS.ImpostoNaoCumulativo = Inteiro(*ds, "CODIGOIMPOSTOPISNCUM", l.PIS.ImpostoNaoCumulativo);
    l.PIS.VariacaoNaoCumulativo = Inteiro(*ds, "VARIACAOPISNCUM", l.PIS.VariacaoNaoCumulativo);
    l.PIS.ImpostoCumulativo = Inteiro(*ds, "CODIGOIMPOSTOPISCUM", l.PIS.ImpostoCumulativo);
    l.PIS.VariacaoCumulativo = Inteiro(*ds, "VARIACAOPISCUM", l.PIS.VariacaoCumulativo);
    l.COFINS.ImpostoNaoCumulativo = Inteiro(*ds, "CODIGOIMPOSTOCOFINSNCUM", l.COFINS.ImpostoNaoCumulativo);
    l.COFINS.VariacaoNaoCumulativo = Inteiro(*ds, "VARIACAOCOFINSNCUM", l.COFINS.VariacaoNaoCumulativo);
    l.COFINS.ImpostoCumulativo = Inteiro(*ds, "CODIGOIMPOSTOCOFINSCUM", l.COFINS.ImpostoCumulativo);
    l.COFINS.VariacaoCumulativo = Inteiro(*ds, "VARIACAOCOFINSCUM", l.COFINS.VariacaoCumulativo);
    l.CSTAjusteCredito = Inteiro(*ds, "CSTAJUSTECREDITO", l.CSTAjusteCredito);
    l.ProporcaoRecCum = Inteiro(*ds, "PROPORCAORECCUM", l.ProporcaoRecCum);
    linha = l;
  }
  FLinhas.emplace(chave, linha);
  return linha;
}

const TLinhaOpcaoLucroReal& TnUtilLucroReal::Linha(TDateTime AData) {
  TDateTime d = ProcurarDataOpcao(AData);
  if (d == 0 || !LinhaEmVigor(d)) ErroSemOpcao(AData);
  return *FLinhas.at(std::make_pair(FCodigoEmpresa, DataISO(d)));
}

bool TnUtilLucroReal::ApuraLucroReal(TDateTime AData) {
  auto l = LinhaEmVigor(AData);
  return l && l->ApuraLucroReal;
}
int TnUtilLucroReal::RegimeApuracao(TDateTime AData) { return Linha(AData).RegimeApuracao; }
int TnUtilLucroReal::TipoApuracao(TDateTime AData) { return Linha(AData).TipoApuracao; }
int TnUtilLucroReal::CSTAjusteCredito(TDateTime AData) { return Linha(AData).CSTAjusteCredito; }
int TnUtilLucroReal::ProporcaoRecCum(TDateTime AData) { return Linha(AData).ProporcaoRecCum; }

namespace {
bool PreencherCodigos(bool AApura, const TCodigosImposto& ACodigos, int& AImpostoNCum,
                      int& AVariacaoNCum, int& AImpostoCum, int& AVariacaoCum) {
  AImpostoNCum = ACodigos.ImpostoNaoCumulativo;
  AVariacaoNCum = ACodigos.VariacaoNaoCumulativo;
  AImpostoCum = ACodigos.ImpostoCumulativo;
  AVariacaoCum = ACodigos.VariacaoCumulativo;
  return AApura;
}
}  // namespace

bool TnUtilLucroReal::ApuraPIS(TDateTime AData, int& AImpostoNCum, int& AVariacaoNCum, int& AImpostoCum,
                               int& AVariacaoCum) {
  const auto& l = Linha(AData);
  return PreencherCodigos(l.ApuraPIS, l.PIS, AImpostoNCum, AVariacaoNCum, AImpostoCum, AVariacaoCum);
}

bool TnUtilLucroReal::ApuraCOFINS(TDateTime AData, int& AImpostoNCum, int& AVariacaoNCum, int& AImpostoCum,
                                  int& AVariacaoCum) {
  const auto& l = Linha(AData);
  return PreencherCodigos(l.ApuraCOFINS, l.COFINS, AImpostoNCum, AVariacaoNCum, AImpostoCum, AVariacaoCum);
}

// ---- lucro presumido ----

std::optional<TLinhaOpcaoLucroPresumido> TnUtilLucroPresumido::LinhaEmVigor(TDateTime AData) {
  TDateTime d = ProcurarDataOpcao(AData);
  if (d == 0) return std::nullopt;
  auto chave = std::make_pair(FCodigoEmpresa, DataISO(d));
  auto it = FLinhas.find(chave);
  if (it != FLinhas.end()) return it->second;
  auto ds = FHost.Database().Abrir(
      "SELECT DATAOPCAO, APURALUCROPRESUMIDO, TIPOAPURACAO, APURAPIS, APURACOFINS, CODIGOIMPOSTOPIS, "
      "VARIACAOPIS, CODIGOIMPOSTOCOFINS, VARIACAOCOFINS FROM OPCAOLUCROPRESUMIDO "
      "WHERE CODIGOEMPRESA = :CODIGOEMPRESA AND DATAOPCAO = :DATAOPCAO",
      {TVariant(int64_t{FCodigoEmpresa}), VarDate(d)});
  std::optional<TLinhaOpcaoLucroPresumido> linha;
  if (!ds->Eof()) {
    TLinhaOpcaoLucroPresumido l;
    l.DataOpcao = d;
    l.ApuraLucroPresumido = Logico(*ds, "APURALUCROPRESUMIDO", l.ApuraLucroPresumido);
    l.TipoApuracao = Inteiro(*ds, "TIPOAPURACAO", l.TipoApuracao);
    l.ApuraPIS = Logico(*ds, "APURAPIS", l.ApuraPIS);
    l.ApuraCOFINS = Logico(*ds, "APURACOFINS", l.ApuraCOFINS);
    l.CodigoImpostoPIS = Inteiro(*ds, "CODIGOIMPOSTOPIS", l.CodigoImpostoPIS);
    l.VariacaoImpostoPIS = Inteiro(*ds, "VARIACAOPIS", l.VariacaoImpostoPIS);
    l.CodigoImpostoCOFINS = Inteiro(*ds, "CODIGOIMPOSTOCOFINS", l.CodigoImpostoCOFINS);
    l.VariacaoImpostoCOFINS = Inteiro(*ds, "VARIACAOCOFINS", l.VariacaoImpostoCOFINS);
    linha = l;
  }
  FLinhas.emplace(chave, linha);
  return linha;
}

const TLinhaOpcaoLucroPresumido& TnUtilLucroPresumido::Linha(TDateTime AData) {
  TDateTime d = ProcurarDataOpcao(AData);
  if (d == 0 || !LinhaEmVigor(d)) ErroSemOpcao(AData);
  return *FLinhas.at(std::make_pair(FCodigoEmpresa, DataISO(d)));
}

bool TnUtilLucroPresumido::ApuraLucroPresumido(TDateTime AData) {
  auto l = LinhaEmVigor(AData);
  return l && l->ApuraLucroPresumido;
}
int TnUtilLucroPresumido::TipoApuracao(TDateTime AData) { return Linha(AData).TipoApuracao; }

bool TnUtilLucroPresumido::ApuraPIS(TDateTime AData, int& AImposto, int& AVariacao) {
  const auto& l = Linha(AData);
  AImposto = l.CodigoImpostoPIS;
  AVariacao = l.VariacaoImpostoPIS;
  return l.ApuraPIS;
}

bool TnUtilLucroPresumido::ApuraCOFINS(TDateTime AData, int& AImposto, int& AVariacao) {
  const auto& l = Linha(AData);
  AImposto = l.CodigoImpostoCOFINS;
  AVariacao = l.VariacaoImpostoCOFINS;
  return l.ApuraCOFINS;
}

TnUtilLucroReal& ControleLucroReal() { return THost::Atual().Servicos().LucroReal(); }
TnUtilLucroPresumido& ControleLucroPresumido() { return THost::Atual().Servicos().LucroPresumido(); }
