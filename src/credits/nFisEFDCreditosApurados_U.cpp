#include "credits/nFisEFDCreditosApurados_U.h"

#include <algorithm>

#include "host/FieldMapper.h"
#include "base/Format.h"
#include "base/Nutil.h"
#include "host/Nutildb.h"
#include "host/Nutilinclusao.h"
#include "host/OpcaoEFD.h"

namespace {

// Colunas da consulta de créditos apurados (TIPOAPURACAO só vem da EFD: lida à parte).
struct TMapSaldoCred : TRowMap {
  PISCO_CAMPO(IMPOSTO);
  PISCO_CAMPO(DATATOTAL);
  PISCO_CAMPO(PERAPUCRED);
  PISCO_CAMPO(ORIGCRED);
  PISCO_CAMPO(CNPJSUC);
  PISCO_CAMPO(CODCRED);
  PISCO_CAMPO(VLCREDAPU);
  PISCO_CAMPO(VLCREDEXTAPU);
  PISCO_CAMPO(VLCREDDESCPAANT);
  PISCO_CAMPO(VLCREDPERPAANT);
  PISCO_CAMPO(VLCREDDCOMPPAANT);
  PISCO_CAMPO(VLCREDDESCEFD);
  PISCO_CAMPO(VLCREDPEREFD);
  PISCO_CAMPO(VLCREDDCOMPEFD);
  PISCO_CAMPO(VLCREDTRANS);
  PISCO_CAMPO(VLCREDOUT);
};

using Nutil::Aparar;


}  // namespace

TListaCreditoObj TnFisEFDCreditosApurados::Carregar(TTipoImposto ATipoImposto, bool ASepararPorTipoApuracao) {
  FSepararPorTipoApuracao = ASepararPorTipoApuracao;
  FTipoImposto = ATipoImposto;
  TListaChave<std::unique_ptr<TDadosCreditoObj>> mapa;
  LstCredApu = &mapa;
  struct TSoltar {
    TListaChave<std::unique_ptr<TDadosCreditoObj>>*& p;
    ~TSoltar() { p = nullptr; }
  } soltar{LstCredApu};

  ControleOpcaoEFD().Configurar(FConfigBlocoM.CodigoEmpresa, EstabComoInteiro(FConfigBlocoM.CodigoEstab),
                                FConfigBlocoM.DataInicial);
  CarregarCreditosApurados(GetSQLCredApurado());

  TListaCreditoObj lista;
  lista.reserve(mapa.Count());
  for (auto& [chave, obj] : mapa) lista.push_back(std::move(obj));
  OrdenarLista(lista);
  return lista;
}

std::string TnFisEFDCreditosApurados::GetSQLCredApurado() {
  FOptanteEFD = ControleOpcaoEFD().GetEhOptanteEFD();
  return FOptanteEFD ? GetSQLCredApuradoEFD() : GetSQLCredApuradoLucroReal();
}

std::string TnFisEFDCreditosApurados::GetSQLCredApuradoEFD() const {
  const std::string tabela =
      FConfigBlocoM.ModoGeracao == TModoGeracao::mgEmpresa ? "EFDSALDOCOMPCRED" : "EFDSALDOCOMPCREDESTAB";
  return Format(GetSQLCredApuradoFormat(), {tabela, std::string("DATATOTAL"), GetFilterEstab(),
                                            std::string("T.TIPOAPURACAO, ")});
}

std::string TnFisEFDCreditosApurados::GetSQLCredApuradoLucroReal() const {
  const std::string estab =
      "and CODIGOESTAB = " + Nutil::ValorParaSQL(int64_t{EstabComoInteiro(FConfigBlocoM.CodigoEstab)});
  return Format(GetSQLCredApuradoFormat(),
                {std::string("TOTALLUCROREALCREDSPED"), std::string("DATALCTOFIS"), estab, std::string()});
}

std::string TnFisEFDCreditosApurados::GetSQLCredApuradoFormat() const {
  // O filtro do imposto entra antes da formatação: não tem marcadores.
  return std::string("select T.IMPOSTO, %3:s T.%1:s DATATOTAL, T.CODCRED, T.PERAPUCRED, T.ORIGCRED, T.CNPJSUC, "
                     "sum(T.VLCREDAPU) VLCREDAPU, sum(T.VLCREDEXTAPU) VLCREDEXTAPU, "
                     "sum(T.VLCREDDESCPAANT) VLCREDDESCPAANT, sum(T.VLCREDPERPAANT) VLCREDPERPAANT, "
                     "sum(T.VLCREDDCOMPPAANT) VLCREDDCOMPPAANT, sum(T.VLCREDDESCEFD) VLCREDDESCEFD, "
                     "sum(T.VLCREDPEREFD) VLCREDPEREFD, sum(T.VLCREDDCOMPEFD) VLCREDDCOMPEFD, "
                     "sum(T.VLCREDTRANS) VLCREDTRANS, sum(T.VLCREDOUT) VLCREDOUT "
                     "from %0:s T where T.CODIGOEMPRESA = :pCodigoEmpresa  %2:s ") +
         GetFiltroImposto() +
         "and T.%1:s between :pDataIni and :pDataFim "
         "and PERAPUCRED <= :pDataIni "
         "group by T.IMPOSTO, %3:s T.%1:s, T.PERAPUCRED, T.CODCRED, T.ORIGCRED, T.CNPJSUC "
         "order by T.IMPOSTO, T.%1:s, T.PERAPUCRED, T.CODCRED ";
}

std::string TnFisEFDCreditosApurados::GetFilterEstab() const {
  if (FConfigBlocoM.ModoGeracao == TModoGeracao::mgEmpresa) return "";
  return FilterInterval({"CODIGOESTAB"}, Aparar(FConfigBlocoM.CodigoEstab), {tiExInclusao}, true, kFiltroNumero);
}

std::string TnFisEFDCreditosApurados::GetFiltroImposto() const {
  if (FTipoImposto != tiPIS && FTipoImposto != tiCOFINS) return "";
  return "and IMPOSTO = " + Nutil::ValorParaSQL(int64_t{FTipoImposto}) + " ";
}

TParams TnFisEFDCreditosApurados::GetParams() const {
  return {TVariant(int64_t{FConfigBlocoM.CodigoEmpresa}), VarDate(FConfigBlocoM.DataInicial),
          VarDate(FConfigBlocoM.DataFinal)};
}

void TnFisEFDCreditosApurados::CarregarCreditosApurados(const std::string& ASQL) {
  auto ds = Nutildb::ExecutarSQL(ASQL, GetParams(), false, false, 10, "", nullptr, true);
  struct TFechar {
    std::unique_ptr<TDataSet>& d;
    ~TFechar() { Nutildb::DestruirSQL(d); }
  } fechar{ds};
  TMapSaldoCred m;
  FieldMapper().MapearFields(*ds, m);
  TField* tipoApuracao = SepararTipos() ? &ds->FieldByName("TIPOAPURACAO") : nullptr;
  for (; !ds->Eof(); ds->Next()) {
    TCamposCredito linha;
    linha.IMPOSTO = static_cast<int32_t>(m.IMPOSTO.AsInteger());
    linha.DATATOTAL = m.DATATOTAL.AsDateTime();
    linha.PERAPUCRED = m.PERAPUCRED.AsDateTime();
    linha.ORIGCRED = static_cast<int16_t>(m.ORIGCRED.IsNull() ? 0 : m.ORIGCRED.AsInteger());
    linha.CNPJSUC = m.CNPJSUC.AsString();
    linha.CODCRED = m.CODCRED.AsString();
    if (tipoApuracao && !tipoApuracao->IsNull()) linha.TIPOAPURACAO = static_cast<int32_t>(tipoApuracao->AsInteger());
    linha.VLCREDAPU = m.VLCREDAPU.AsFloat();
    linha.VLCREDEXTAPU = m.VLCREDEXTAPU.AsFloat();
    linha.VLCREDDESCPAANT = m.VLCREDDESCPAANT.AsFloat();
    linha.VLCREDPERPAANT = m.VLCREDPERPAANT.AsFloat();
    linha.VLCREDDCOMPPAANT = m.VLCREDDCOMPPAANT.AsFloat();
    linha.VLCREDDESCEFD = m.VLCREDDESCEFD.AsFloat();
    linha.VLCREDPEREFD = m.VLCREDPEREFD.AsFloat();
    linha.VLCREDDCOMPEFD = m.VLCREDDCOMPEFD.AsFloat();
    linha.VLCREDTRANS = m.VLCREDTRANS.AsFloat();
    linha.VLCREDOUT = m.VLCREDOUT.AsFloat();

    // Chave sem a data do total: linhas de totais diferentes do mesmo crédito se juntam.
    std::string chave = std::to_string(linha.IMPOSTO) + "|" + FormatDateTime("yyyymmdd", linha.PERAPUCRED) + "|" +
                        std::to_string(linha.ORIGCRED) + "|" + linha.CNPJSUC + "|" + linha.CODCRED;
    if (SepararTipos()) chave += "|" + std::to_string(linha.TIPOAPURACAO);
    auto* obj = LstCredApu->Procurar(chave);
    if (!obj) {
      TCamposCredito cab;
      cab.IMPOSTO = linha.IMPOSTO;
      cab.DATATOTAL = linha.DATATOTAL;
      cab.PERAPUCRED = linha.PERAPUCRED;
      cab.ORIGCRED = linha.ORIGCRED;
      cab.CNPJSUC = linha.CNPJSUC;
      cab.CODCRED = linha.CODCRED;
      if (SepararTipos()) cab.TIPOAPURACAO = linha.TIPOAPURACAO;
      obj = LstCredApu->Incluir(chave, std::make_unique<TDadosCreditoObj>(cab));
    }
    (*obj)->SomarValores(linha);
  }
}

void TnFisEFDCreditosApurados::OrdenarLista(TListaCreditoObj& ALista) {
  std::stable_sort(ALista.begin(), ALista.end(), [](const auto& a, const auto& b) {
    if (a->IMPOSTO != b->IMPOSTO) return a->IMPOSTO < b->IMPOSTO;
    if (int c = CompararDias(a->DATATOTAL, b->DATATOTAL)) return c < 0;
    if (int c = CompararDias(a->PERAPUCRED, b->PERAPUCRED)) return c < 0;
    return a->CODCRED < b->CODCRED;
  });
}
