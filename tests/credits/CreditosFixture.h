#pragma once
// Bancos montados para os casos do controle de créditos: esquema completo, opção da EFD da
// empresa 1 e construtores pequenos das linhas de saldos, retidos e ordem de compensação.
// Período dos casos: janeiro de 2024 (anterior: dezembro de 2023).
#include <memory>
#include <string>

#include "blocom/control/nFisEFDGeradorBlocoMConfig_U.h"
#include "blocom/model/nFisRepositorioEFDModel_U.h"
#include "credits/nFisEFDControleCredito_U.h"
#include "fixtures/Servicos.h"

// Valores de uma linha de saldo de crédito (tabelas de controle, saldo inicial, lucro real).
struct TSaldoCred {
  int Imposto = 15;
  int TipoApuracao = 0;
  std::string PerApu = "2023-06-01";
  int OrigCred = 1;
  std::string CNPJSuc = "";
  std::string CodCred = "4.3.06.101";
  double Aliq = 1.65;
  double Apu = 0, DescPaAnt = 0, PerPaAnt = 0, DCompPaAnt = 0, DescEfd = 0, PerEfd = 0, DCompEfd = 0;
};

// Valores de uma linha de retido.
struct TSaldoRet {
  int Imposto = 15;
  int IndNatRet = 1;
  std::string PrRecRet = "2023-11-10";
  std::string TipoDebito = "4.3.05.51";
  double Apu = 0, Ded = 0, Per = 0, DComp = 0, Diferido = 0, Diferir = 0;
};

class TCreditosTeste : public TServicosTeste {
 protected:
  void SetUp() override;

  TLinhaTabela Linha(const std::string& ATabela) { return TLinhaTabela(Banco(), ATabela); }
  // Opção da EFD da empresa 1 (tabela de compensação 1) com colunas extras "COL=v|...", no
  // lugar da que houver: os casos de uma tabela trocam a opção a cada volta.
  void Opcao(const std::string& AExtras = "");
  // Troca uma coluna da opção já gravada e limpa os caches do host.
  void MudarOpcao(const std::string& AColuna, const std::string& AValor);
  TConfigBlocoM Config(TModoGeracao AModo = TModoGeracao::mgEmpresa, const std::string& AEstab = "1") const;
  // Controle configurado para o período, com as opções da EFD posicionadas na empresa.
  std::unique_ptr<TnFisEFDControleCredito> Controle(TModoGeracao AModo = TModoGeracao::mgEmpresa,
                                                    const std::string& AEstab = "1");

  // Ordem de compensação: tabela 1 com a forma; tipos com chave e percentual; alíquotas.
  void TabelaOrdem(int AForma);
  void OrdemTipo(int AChave, const std::string& ACodigo, double APercentual);
  void OrdemAliq(int AChave, int AOrdem, double AAliqPIS, double AAliqCOFINS);

  void SaldoCred(const std::string& ATabela, const std::string& AColunaData, const std::string& AData,
                 const TSaldoCred& s, int AEstab = 1, int ATipoCred = -1, double ASldFim = -1);
  void SaldoRet(const std::string& ATabela, const std::string& AColunaData, const std::string& AData,
                const TSaldoRet& s, int AEstab = 1);

  // Crédito na forma registro, como o gerador do M100/M500 o entrega.
  static TDadosCredito Credito(int AImposto, const std::string& ACodigo, const std::string& APerApu, double AAliq,
                               double AValor, TM100_500CreditoImposto* ARegistro = nullptr);
  // M100 com uma base (CST 52, sem parte cumulativa) e alíquota: crédito disponível = base × alíq.
  static std::unique_ptr<TM100_500CreditoImposto> RegistroCredito(double ABase, double AAliq);
  // M200 com contribuição não cumulativa e cumulativa (alíquota 10%) e base que retido não abate.
  static std::unique_ptr<TM200_600ConsolidContribImposto> RegistroContrib(double AContNC, double AContCum,
                                                                          double ABaseNaoCompRet = 0);

  // Retido de PIS da natureza 1 na forma que o controle recebe; Procurar acha a linha do livro
  // com a mesma chave (data da retenção e débito).
  static TDadosRetido Retido(const std::string& APrRecRet, const std::string& ATipo, double AValor = 0,
                             const std::string& ADataTotal = "2024-01-01");
  static const TDadosRetido* Procurar(TnFisEFDControleCredito& ACC, const TDadosRetido& AR) {
    return ACC.GetLstCredRetido().Procurar(TnFisEFDControleCredito::GetChave(AR));
  }

  int FSeq = 0;
};
