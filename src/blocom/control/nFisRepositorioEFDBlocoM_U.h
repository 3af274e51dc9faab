#pragma once
// Repositório do Bloco M: monta o contexto, roda as sub-execuções das SCP e processa os
// geradores raiz na ordem fixa, devolvendo os M001 por tipo de apuração.
#include <memory>

#include "blocom/control/nFisEFDControleBlocoM_U.h"
#include "blocom/control/nFisEFDGeradorBlocoM_U.h"

class TnFisRepositorioEFDBlocoM {
 public:
  explicit TnFisRepositorioEFDBlocoM(TFormaCarregarProporcao AForma = TFormaCarregarProporcao::fpExecutarProporcao);
  virtual ~TnFisRepositorioEFDBlocoM();
  TnFisRepositorioEFDBlocoM(const TnFisRepositorioEFDBlocoM&) = delete;
  TnFisRepositorioEFDBlocoM& operator=(const TnFisRepositorioEFDBlocoM&) = delete;

  // Execução principal; o chamador fica dono do mapa devolvido.
  virtual std::unique_ptr<TMapaAberturaBloco> CarregarDadosBlocoM(const TConfigBlocoM& AConfig);
  // M001 do tipo 99 (optante da EFD) ou 0; o mapa continua vivo no repositório.
  TM001AberturaBloco& CarregarDadosBlocoMTotal(const TConfigBlocoM& AConfig);
  // Soma de todos os tipos de apuração da última execução, num M001 novo do chamador.
  std::unique_ptr<TM001AberturaBloco> TotalizarBlocoM() const;

  int32_t GetCodigoEmpresa() const { return FConfigBlocoM.CodigoEmpresa; }
  std::string GetCodigoEstab() const { return FConfigBlocoM.CodigoEstab; }
  TDateTime GetDataInicial() const { return FConfigBlocoM.DataInicial; }
  TDateTime GetDataFinal() const { return FConfigBlocoM.DataFinal; }
  const std::vector<std::unique_ptr<TSCP>>& GetListaApuracaoSCP() const;
  TnFisEFDControleCredito* GetControleCredito() const;
  TnFisProporcaoCreditos* GetProporcaoCredito() const;
  TnFisEFDExtraApuracao* GetExtraApuracao() const;
  bool GetDeveProcessarCreditos() const;

 protected:
  virtual void ConfigurarControleBlocoM();
  virtual void CriarGeradores() = 0;
  virtual void AntesCarregarDados();
  virtual void DepoisCarregarDados();
  // Repositório da mesma classe para as sub-execuções das SCP.
  virtual std::unique_ptr<TnFisRepositorioEFDBlocoM> CriarMesmaClasse() const = 0;

  void CarregarDadosBlocoMSCP();
  void CarregarRegistros();
  void DestruirGeradores();
  // Posiciona as opções da EFD na empresa, estabelecimento e início da execução.
  void PosicionarOpcaoEFD() const;

  TFormaCarregarProporcao FFormaCarregarProporcao;
  std::unique_ptr<TnFisEFDGeradorBlocoM> FGeradorM100, FGeradorM200, FGeradorM350, FGeradorM400;
  std::unique_ptr<TnFisEFDGeradorBlocoM> FGeradorM500, FGeradorM600, FGeradorM800;
  std::unique_ptr<TnFisEFDControleBlocoM> FControleBlocoM;
  TConfigBlocoM FConfigBlocoM;
  std::unique_ptr<TMapaAberturaBloco> FAberturaBloco;

 private:
  std::unique_ptr<TMapaAberturaBloco> FMapaTotal;  // mantido por CarregarDadosBlocoMTotal
  // Soma da última execução, do próprio repositório: o mapa devolvido é do chamador e pode
  // já ter sido liberado quando ele pede o total.
  std::unique_ptr<TM001AberturaBloco> FTotal;
};
