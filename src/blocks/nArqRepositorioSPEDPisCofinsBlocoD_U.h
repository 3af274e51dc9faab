#pragma once
// Bloco D (transporte e comunicação): textos SQL e carga dos registros D100 a D609.
// Sem marcador de lado: cada texto nomeia as tabelas de entrada ou de saída.
#include <memory>
#include <string>

#include "blocks/nArqRepositorioSPEDPisCofinsBase_U.h"

class TnArqRepositorioSPEDPisCofinsBlocoD : public TnArqRepositorioSPEDPisCofinsBase {
 public:
  using TParans = TnParansBlocoD;

  static std::string GetIndexKorvelD101_D105(const TnParansBlocoD& AParans);
  // FROM/WHERE comum ao D600 e à lista de pessoas sem município.
  static std::string GetSqlFromD600(const TnParansBlocoD& AParans);

  static std::string GetSqlD100(const TnParansBlocoD& AParans);
  static std::string GetSqlD101(const TnParansBlocoD& AParans);
  static std::string GetSqlD105(const TnParansBlocoD& AParans);
  static std::string GetSqlD111(const TnParansBlocoD& AParans);
  static std::string GetSqlD200(const TnParansBlocoD& AParans);
  static std::string GetSqlD201(const TnParansBlocoD& AParans);
  static std::string GetSqlD205(const TnParansBlocoD& AParans);
  static std::string GetSqlD209(const TnParansBlocoD& AParans);
  static std::string GetSqlD300(const TnParansBlocoD& AParans);
  static std::string GetSqlD309(const TnParansBlocoD& AParans);
  static std::string GetSqlD350(const TnParansBlocoD& AParans);
  static std::string GetSqlD500(const TnParansBlocoD& AParans);
  static std::string GetSqlD501(const TnParansBlocoD& AParans);
  static std::string GetSqlD505(const TnParansBlocoD& AParans);
  static std::string GetSqlD509(const TnParansBlocoD& AParans);
  static std::string GetSqlD600(const TnParansBlocoD& AParans);
  static std::string GetSqlD601(const TnParansBlocoD& AParans);
  static std::string GetSqlD605(const TnParansBlocoD& AParans);
  static std::string GetSqlD609(const TnParansBlocoD& AParans);

  static TParams GetParamsEstabData(const TnParansBlocoD& p) { return TnArqRepositorioSPEDPisCofinsBase::GetParamsEstabData(p); }
  static TParams GetParamsEstabDataNull(const TnParansBlocoD& p) {
    return TnArqRepositorioSPEDPisCofinsBase::GetParamsEstabDataNull(p);
  }
  static TParams GetParamsEmpData(const TnParansBlocoD& p) { return TnArqRepositorioSPEDPisCofinsBase::GetParamsEmpData(p); }

  static void CarregarDadosD100(TDataSet*& ADataSet, const TnParansBlocoD& AParans);
  static void CarregarDadosD101(TnClientDataSet*& ADataSet, const TnParansBlocoD& AParans);
  static void CarregarDadosD105(TnClientDataSet*& ADataSet, const TnParansBlocoD& AParans);
  static void CarregarDadosD111(TnClientDataSet*& ADataSet, const TnParansBlocoD& AParans);
  static void CarregarDadosD200(TDataSet*& ADataSet, const TnParansBlocoD& AParans);
  static void CarregarDadosD201(TnClientDataSet*& ADataSet, const TnParansBlocoD& AParans);
  static void CarregarDadosD205(TnClientDataSet*& ADataSet, const TnParansBlocoD& AParans);
  static void CarregarDadosD209(TnClientDataSet*& ADataSet, const TnParansBlocoD& AParans);
  static void CarregarDadosD300(TDataSet*& ADataSet, const TnParansBlocoD& AParans);
  static void CarregarDadosD309(TnClientDataSet*& ADataSet, const TnParansBlocoD& AParans);
  static void CarregarDadosD350(TnClientDataSet*& ADataSet, const TnParansBlocoD& AParans);
  static void CarregarDadosD500(TDataSet*& ADataSet, const TnParansBlocoD& AParans);
  static void CarregarDadosD501(TnClientDataSet*& ADataSet, const TnParansBlocoD& AParans);
  static void CarregarDadosD505(TnClientDataSet*& ADataSet, const TnParansBlocoD& AParans);
  static void CarregarDadosD509(TnClientDataSet*& ADataSet, const TnParansBlocoD& AParans);
  static void CarregarDadosD600(TDataSet*& ADataSet, const TnParansBlocoD& AParans);
  static void CarregarDadosD601(TnClientDataSet*& ADataSet, const TnParansBlocoD& AParans);
  static void CarregarDadosD605(TnClientDataSet*& ADataSet, const TnParansBlocoD& AParans);
  static void CarregarDadosD609(TnClientDataSet*& ADataSet, const TnParansBlocoD& AParans);

  // Pessoas (código e nome) dos documentos do D600 sem município; o chamador é o dono.
  static std::unique_ptr<TnClientDataSet> GetCdsPessoasD600SemMunic(const TnParansBlocoD& AParans);
};
