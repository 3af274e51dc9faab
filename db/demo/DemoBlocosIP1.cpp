// Fontes que só os blocos P e 1 leem: totais da contribuição previdenciária sobre a receita
// (com obra, saldo compensado e ajustes), receita do INSS, ajuste extemporâneo da base (1050)
// e o tratamento de um produto por processo nas entradas (1011); no banco, as deduções e
// exclusões que o bloco I lê. Valores fixos, sem sorteio.
#include "db/demo/DemoEmpresa.h"

namespace demo {

void TGeradorEmpresa::DadosBlocosIP1() {
  if (FPerfil == TPerfilDemo::pdFinanceira) DeducoesBlocoI();
  if (FPerfil != TPerfilDemo::pdNaoCumulativo) return;
  const TDateTime dia = FInicio + 14;
  const std::string ncm = "22021037";
  auto& det = c("TOTALCONTPATRONALDET",
                "CODIGOEMPRESA CODIGOESTAB DATATOTAL SEQ CODIGOOPERACAOFIS CODIGOCFOP CODIGONCM CONTACTBEFD VALORTOTAL1 "
                "VALORTOTAL2 VALORTOTAL3 VALORTOTAL4");
  // Venda (5102), devolução (1202, exclusão) e uma operação fora da contribuição (13050).
  det.Linha({I(FEmpresa), I(1), D(dia), I(1), I(13001), I(5102), T(ncm), T("3.1.1.01.001"), V(8500000), V(85000),
             V(8000000), V(500000)});
  det.Linha({I(FEmpresa), I(1), D(dia), I(2), I(13001), I(1202), T(ncm), T("3.1.1.01.001"), V(300000), V(3000),
             V(280000), V(20000)});
  det.Linha({I(FEmpresa), I(1), D(dia), I(3), I(13050), I(5102), T(ncm), T("3.1.1.01.001"), V(100000), V(1000),
             V(100000), V(0)});
  c("TOTALCONTPATRONALOBRADET",
    "CODIGOEMPRESA CODIGOESTAB DATATOTAL SEQ CODIGOOPERACAOFIS CODIGOCFOP CODIGONCM CNO VALORTOTAL1 VALORTOTAL2 "
    "VALORTOTAL3 VALORTOTAL4")
      .Linha({I(FEmpresa), I(1), D(dia), I(1), I(13001), I(5102), T(ncm), T("510012345678"), V(1000000), V(10000),
              V(900000), V(100000)});
  c("TOTALCONTPATRONALSALDO",
    "CODIGOEMPRESA CODIGOESTAB DATATOTAL CODIGOOPERACAOFIS CODIGONCM VALORSALDO VALORCOMPENSADO")
      .Linha({I(FEmpresa), I(1), D(dia), I(13001), T(ncm), V(50000), V(20000)});
  auto& cfop = c("CFOPIMPOSTOCONTPATRONAL", "CODIGOEMPRESA CODIGOESTAB CODIGOCFOP CODIGOIMPOSTO VARIACAOIMPOSTO");
  cfop.Linha({I(FEmpresa), I(1), I(5102), I(2985), I(1)});
  cfop.Linha({I(FEmpresa), I(1), I(1202), I(2991), I(2)});
  auto& aj = c("CONTPATRONALAJUSTE",
               "CODIGOEMPRESA CODIGOESTAB DATALCTOFIS SEQ CODIGOOPERACAOFIS INDAJUSTE VLRAJUSTE CODIGOAJUSTE "
               "DATAREFERENCIA NUMPROCESSO DESCAJUSTE");
  aj.Linha({I(FEmpresa), I(1), D(dia), I(1), I(13001), T("1"), V(50000), T("01"), D(FInicio), N(),
            T("ACRÉSCIMO DE RECEITA NÃO ESCRITURADA")});
  aj.Linha({I(FEmpresa), I(1), D(dia), I(2), I(13001), T("0"), V(20000), T("02"), D(FInicio), T("0012345-67.2019.4.03.6100"),
            T("REDUÇÃO POR DECISÃO JUDICIAL")});
  c("INSSRECEITA", "CODIGOEMPRESA CODIGOESTAB COMPETENCIA SEQ VALORRECEITA VALOREXCLUSAO")
      .Linha({I(FEmpresa), I(1), D(FInicio), I(1), V(8500000), V(300000)});

  // 1050: ajuste extemporâneo da base, detalhado por CST.
  c("EFDEXCAJUSBCPISCOFINS",
    "CODIGOEMPRESA CODIGOESTAB SEQ DATATOTAL DATAREFERENCIA INDAJBC CODIGOAJUSTE CNPJ VLAJTOT INFOCOMPL")
      .Linha({I(FEmpresa), I(1), I(1), D(FInicio), D(IncMonth(FInicio, -3)), I(1), T("01"), N(), V(150000),
              T("VENDA CANCELADA DE PERÍODO ANTERIOR")});
  auto& ajd = c("EFDEXCAJUSBCPISCOFINSDET",
                "CODIGOEMPRESA CODIGOESTAB SEQAJUSTE SEQ CST VLAJCST VLAJPIS VLAJCOFINS");
  ajd.Linha({I(FEmpresa), I(1), I(1), I(1), I(1), V(100000), V(1650), V(7600)});
  ajd.Linha({I(FEmpresa), I(1), I(1), I(2), I(2), V(50000), V(1050), V(4825)});

  // 1011: produto 2 com CST próprio por processo nas entradas.
  c("PROCESREFPRODUTOPISCOFINS",
    "CODIGOEMPRESA CODIGOESTAB CODIGOPRODUTO NUMPROCREF CDSITUATRIBUTPIS CDSITUATRIBUTCOFINS ALIQPIS ALIQCOFINS "
    "DATAINICIAL DATAFINAL")
      .Linha({I(FEmpresa), I(1), I(2), T("0012345-67.2019.4.03.6100"), I(70), I(70), A(0), A(0),
              D(IncMonth(FInicio, -36)), D(EndOfTheMonth(IncMonth(FInicio, 24)))});
}

// Deduções e exclusões do banco, na tabela da EFD e na do lucro real (a que vale sem a opção).
// Os códigos cobrem os dois lados do corte em 100 e os de sete dígitos, que valem pelos quatro
// primeiros: 30101 conta como geral (0030) e 7010101 como específico (7010). O CST 9 não tem
// venda no mês: sai no I200/I300, mas não se junta a nenhum I100.
void TGeradorEmpresa::DeducoesBlocoI() {
  const char* colunas = "CODIGOEMPRESA CODIGOESTAB DATALCTOFIS SEQ CODIGODET CSTDET ALIQPIS ALIQCOFINS VALORDET INFOCOMPL";
  const TDateTime dia = FInicio + 20;
  auto& efd = c("EFDDEDUCAOEXCLUSAO", colunas);
  efd.Linha({I(FEmpresa), I(1), D(dia), I(1), I(10), I(1), A(6500), A(40000), V(180000),
             T("DESPESAS DE CAPTAÇÃO")});
  efd.Linha({I(FEmpresa), I(1), D(dia), I(2), I(30101), I(1), A(6500), A(40000), V(45000),
             T("PERDAS EM OPERAÇÕES DE CRÉDITO")});
  efd.Linha({I(FEmpresa), I(1), D(dia), I(3), I(701), I(1), A(6500), A(40000), V(60000),
             T("EXCLUSÃO ESPECÍFICA DA ATIVIDADE")});
  efd.Linha({I(FEmpresa), I(1), D(dia), I(4), I(7010101), I(1), A(6500), A(40000), V(25000),
             T("EXCLUSÃO ESPECÍFICA DETALHADA")});
  efd.Linha({I(FEmpresa), I(1), D(dia), I(5), I(12), I(9), A(0), A(0), V(8000),
             T("DEDUÇÃO SEM RECEITA DO CST NO MÊS")});
  auto& lr = c("LUCROREALDEDUCAOEXCLUSAO", colunas);
  lr.Linha({I(FEmpresa), I(1), D(dia), I(1), I(10), I(1), A(6500), A(40000), V(90000), T("DESPESAS DE CAPTAÇÃO")});
  lr.Linha({I(FEmpresa), I(1), D(dia), I(2), I(701), I(1), A(6500), A(40000), V(30000),
            T("EXCLUSÃO ESPECÍFICA DA ATIVIDADE")});
}

}  // namespace demo
