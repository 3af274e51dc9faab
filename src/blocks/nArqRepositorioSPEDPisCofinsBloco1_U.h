#pragma once
// Bloco 1 (complementos): processos (1010/1020), ações com tratamento próprio (1011),
// ajustes da base (1050), retenções do RET imobiliário (1800) e a receita consolidada do 1900.
#include <memory>
#include <string>

#include "blocks/nArqRepositorioSPEDPisCofinsBase_U.h"

class TnArqRepositorioSPEDPisCofinsBloco1 : public TnArqRepositorioSPEDPisCofinsBase {
 public:
  using TParans = TnParansBloco1;

  // Modelo e CFOP no formato do 1900 (estabelecimento E).
  static std::string GetFiltroCDModelo(const std::string& AColunaModelo);
  static std::string GetFiltroCFOP(const std::string& AColunaModelo, const std::string& AColunaCFOP);
  static std::string GetFiltroEstab(const TnParansBloco1& AParans, const std::string& AColuna);

  // O texto dos processos vem do chamador e passa pelo filtro de intervalo (itens de texto).
  static std::string GetSql1010_1020(const TnParansBloco1& AParans, const std::string& AProcessos);
  static std::string GetSql1011(const TnParansBloco1& AParans, const std::string& AProcessos);
  static std::string GetSql1050(const TnParansBloco1& AParans);
  static std::string GetSql1800(const TnParansBloco1& AParans);
  static std::string GetSql1900(const TnParansBloco1& AParans, bool ARegimeCaixa);
  static std::string GetSql1900Detalhado(const TnParansBloco1& AParans, bool ARegimeCaixa);
  static std::string GetSql1900Consolidado(const TnParansBloco1& AParans, bool ARegimeCaixa);
  static std::string GetSql1990UnionF100(const TnParansBloco1& AParans);
  static std::string GetSqlTotalizar1900(const std::string& AUniao);
  static std::string GetSql1900NFCanc(const TnParansBloco1& AParans);
  static std::string GetSql1900NFCancDetalhado(const TnParansBloco1& AParans);
  static std::string GetSql1900UnionF200(const TnParansBloco1& AParans);
  static std::string GetSqlTemMovReg1900(const TnParansBloco1& AParans);

  static TParams GetParamsEmp(const TnParansBloco1& AParans);
  static TParams GetParamsEmpData(const TnParansBloco1& AParans) {
    return TnArqRepositorioSPEDPisCofinsBase::GetParamsEmpData(AParans);
  }

  static void CarregarDados1010(std::unique_ptr<TDataSet>& ADataSet, const TnParansBloco1& AParans,
                                const std::string& AProcessos);
  static void CarregarDados1020(std::unique_ptr<TDataSet>& ADataSet, const TnParansBloco1& AParans,
                                const std::string& AProcessos);
  static void CarregarDados1011(std::unique_ptr<TDataSet>& ADataSet, const TnParansBloco1& AParans,
                                const std::string& AProcessos);
  static void CarregarDados1050(std::unique_ptr<TDataSet>& ADataSet, const TnParansBloco1& AParans);
  static void CarregarDados1800(TDataSet*& ADataSet, const TnParansBloco1& AParans);
  static void CarregarDados1900(TDataSet*& ADataSet, const TnParansBloco1& AParans, bool ARegimeCaixa);
};
