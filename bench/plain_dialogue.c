/* The same dialogue written as plain C with printf and scanf: the yardstick
   for what the calculator may cost. */
#include <math.h>
#include <stdio.h>

int main(void)
{
    double amount = 0, rate = 0, payment, growth;
    int months = 0;

    printf("\nMonthly Payment Calculator\n==========================\n\n");
    printf("Data Entry\n----------\n\n");
    printf("Enter the borrowed amount      ($): ");
    fflush(stdout);
    scanf("%lf", &amount);
    printf("Enter the monthly interest rate(%%): ");
    fflush(stdout);
    scanf("%lf", &rate);
    printf("Enter the number of months     (M): ");
    fflush(stdout);
    scanf("%d", &months);

    growth = pow(1.0 + rate * 0.01, months);
    payment = amount * rate * 0.01 * (growth / (growth - 1.0));

    printf("\nCalculation Results\n-------------------\n\n");
    printf("Total Borrowed Amount : $%0.2lf\n\n", amount);
    printf("Monthly Interest Rate : %0.4lf%%\n\n", rate);
    printf("Monthly Payment       : $%0.2lf\n\n", payment);
    printf("End Program\n");
    return 0;
}
