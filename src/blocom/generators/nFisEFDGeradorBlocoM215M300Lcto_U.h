#pragma once
// Filhos do M210/M610 calculados a partir dos lançamentos: ajustes da base (M215), ajustes da
// contribuição com o detalhe (M220/M225, com os ajustes da SCP) e diferimento (M230/M300).
#include <string>
#include <vector>

#include "blocom/generators/nFisEFDGeradorBlocoM200M600_U.h"

// Detalhe do tipo de apuração cujo código é o dado e cujas alíquotas impressas com duas casas
// são as dadas (a primeira na ordem das chaves); nulo quando não há.
TM210_610DetalheContrib* ProcurarM210_610(TM210_610DetalheContribList& ALista, const std::string& ACodCont,
                                          double AAliq, const double* AAliqQuant);

// --- M215/M615 ---

struct TRecM215_615 {
  int IND_AJ_BC = 0;
  double VL_AJ_BC = 0;
  std::string COD_AJ_BC, NUM_DOC, DESCR_AJ_BC, DT_REF, COD_CTA, CNPJ, INFO_COMPL, TIPODEBITO;
  double ALIQ = 0;
  TTipoApuracao TIPOAPURACAO = TTipoApuracao::taNormal;
};

class TnFisEFDGeradorM215_M615Lcto : public TnFisEFDGeradorM215_M615 {
 public:
  using TnFisEFDGeradorM215_M615::TnFisEFDGeradorM215_M615;
  void CarregarDados() override;
  void GerarM215_615(const TRecM215_615& ARec);
};

class TnFisEFDGeradorM215_M615LctoDacon : public TnFisEFDGeradorM215_M615Lcto {
  using TnFisEFDGeradorM215_M615Lcto::TnFisEFDGeradorM215_M615Lcto;
};

class TnFisEFDGeradorM215_M615LctoEFD : public TnFisEFDGeradorM215_M615Lcto {
 public:
  using TnFisEFDGeradorM215_M615Lcto::TnFisEFDGeradorM215_M615Lcto;
};

// --- M220/M620 e M225/M625 ---

struct TRecM220_620 {
  std::string IND_AJ;
  double VL_AJ = 0;
  std::string COD_AJ, NUM_DOC, DESCR_AJ, DT_REF;
  int CST = 0;
  std::string TipoCredM210_M610;
  double AliquotaM210_M610 = 0, AliquotaM210_M610Qtd = 0;
  bool AjusteSCP = false;
  TTipoApuracao TipoApuracao = TTipoApuracao::taNormal;
};

class TnFisEFDGeradorM220_M620Lcto : public TnFisEFDGeradorM220_M620 {
 public:
  using TnFisEFDGeradorM220_M620::TnFisEFDGeradorM220_M620;
  void CarregarDados() override;
  void DepoisCarregarDadosFilhos() override;
  virtual std::string GetSqlLctoAjuste() = 0;
  virtual bool GerarAjusteImob() { return true; }
  virtual bool IncidenciaCumulativa();
  void ProcessarM220_620(const TRecM220_620& ARec, bool ACriar);
  void GerarM220_620(const TRecM220_620& ARec, bool ACriar);

 protected:
  void CarregarLctoAjuste();
  void CarregarAjustesImob();
  void CarregarAjustesSCP();
};

class TnFisEFDGeradorM220_M620LctoDacon : public TnFisEFDGeradorM220_M620Lcto {
 public:
  using TnFisEFDGeradorM220_M620Lcto::TnFisEFDGeradorM220_M620Lcto;
  std::string GetSqlLctoAjuste() override;
  bool GerarAjusteImob() override;
  bool IncidenciaCumulativa() override;
};

class TnFisEFDGeradorM220_M620LctoEFD : public TnFisEFDGeradorM220_M620Lcto {
 public:
  using TnFisEFDGeradorM220_M620Lcto::TnFisEFDGeradorM220_M620Lcto;
  std::string GetSqlLctoAjuste() override;
  void CriarGeradoresFilhos() override;
  void DepoisCarregarDados() override;
};

struct TRecM225_625 {
  double DET_VALOR_AJ = 0;
  int CST = 0;
  double DET_BC_CRED = 0, DET_ALIQ = 0;
  std::string DT_OPER_AJ, DESC_AJ, COD_CTA, INFO_COMPL;
  double AliquotaM210_M610 = 0, AliquotaM210_M610Qtd = 0;
  std::string M210_M610_TipoDebito;
  std::string M220_M620_IND_AJ, M220_M620_COD_AJ, M220_M620_NUM_DOC, M220_M620_DT_REF, M220_M620_DESCR_AJ;
  TTipoApuracao TipoApuracao = TTipoApuracao::taNormal;
};

class TnFisEFDGeradorM225_M625Lcto : public TnFisEFDGeradorM225_M625 {
 public:
  using TnFisEFDGeradorM225_M625::TnFisEFDGeradorM225_M625;
  void CarregarDados() override;
  void GerarM225_625(const TRecM225_625& ARec);

 protected:
  void CarregarLctoAjusteDet();
  void CarregarAjusteDetAuto();
};

// --- M230/M630 e M300/M700 ---

class TnFisEFDGeradorM230_M630Lcto : public TnFisEFDGeradorM230_M630 {
 public:
  using TnFisEFDGeradorM230_M630::TnFisEFDGeradorM230_M630;
  void CarregarDados() override;
  virtual std::string GetSqlM230_M630() = 0;
};

class TnFisEFDGeradorM230_M630LctoEFD : public TnFisEFDGeradorM230_M630Lcto {
 public:
  using TnFisEFDGeradorM230_M630Lcto::TnFisEFDGeradorM230_M630Lcto;
  std::string GetSqlM230_M630() override;
};

class TnFisEFDGeradorM300_M700Lcto : public TnFisEFDGeradorM300_M700 {
 public:
  using TnFisEFDGeradorM300_M700::TnFisEFDGeradorM300_M700;
  void CarregarDados() override;
  virtual std::string GetSqlM300_M700() = 0;
};

class TnFisEFDGeradorM300_M700LctoEFD : public TnFisEFDGeradorM300_M700Lcto {
 public:
  using TnFisEFDGeradorM300_M700Lcto::TnFisEFDGeradorM300_M700Lcto;
  std::string GetSqlM300_M700() override;
};
